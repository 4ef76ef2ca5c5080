// How long one clock frame and one line take to draw into the picture.
#include <benchmark/benchmark.h>

#include "render/ClockFace.h"
#include "render/SmoothLine.h"

namespace {

// One full frame: clear, face, three hands, border; range(0) 1 for the round face.
void BM_FullFrame(benchmark::State& state) {
    Picture clock;
    SettingsRecord settings = DefaultSettings();
    settings.ClockShape = state.range(0) != 0;
    int second = 0;
    for (auto _ : state) {
        DrawClockFace(clock, {10, 8, second}, settings);
        second = (second + 1) % 60;
        benchmark::DoNotOptimize(clock.pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FullFrame)->ArgName("round")->Arg(0)->Arg(1);

// One line: a 16-pixel border edge (the longest the clock draws) and a slanted second hand.
void BM_SmoothLine(benchmark::State& state, double x0, double y0, double x1, double y1) {
    Picture picture;
    for (auto _ : state) {
        SmoothLine(picture, x0, y0, x1, y1, 0x00FF8000, 1.0, 2.0);
        benchmark::DoNotOptimize(picture.pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK_CAPTURE(BM_SmoothLine, border_edge, 0, 0, 15, 0);
BENCHMARK_CAPTURE(BM_SmoothLine, slanted_hand, 8, 8, 14, 3);

} // namespace
