// How long one clock frame and one line take to draw into the picture.
#include <benchmark/benchmark.h>

#include "render/ClockFace.h"
#include "render/SmoothLine.h"

namespace {

void BM_FullFrameSquare(benchmark::State& state) {
    Picture clock;
    const SettingsRecord settings = DefaultSettings();
    int second = 0;
    for (auto _ : state) {
        DrawClockFace(clock, {10, 8, second}, settings);
        second = (second + 1) % 60;
        benchmark::DoNotOptimize(clock.pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FullFrameSquare);

void BM_FullFrameCircle(benchmark::State& state) {
    Picture clock;
    SettingsRecord settings = DefaultSettings();
    settings.ClockShape = true;
    int second = 0;
    for (auto _ : state) {
        DrawClockFace(clock, {10, 8, second}, settings);
        second = (second + 1) % 60;
        benchmark::DoNotOptimize(clock.pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FullFrameCircle);

// The longest line the clock draws: a 16-pixel border edge.
void BM_SmoothLineBorderEdge(benchmark::State& state) {
    Picture picture;
    for (auto _ : state) {
        SmoothLine(picture, 0, 0, 15, 0, 0, 1.0, 2.0);
        benchmark::DoNotOptimize(picture.pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SmoothLineBorderEdge);

// A slanted second hand: the worked example's line.
void BM_SmoothLineHand(benchmark::State& state) {
    Picture picture;
    for (auto _ : state) {
        SmoothLine(picture, 8, 8, 14, 3, 0x00FF8000, 1.0, 2.0);
        benchmark::DoNotOptimize(picture.pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SmoothLineHand);

} // namespace
