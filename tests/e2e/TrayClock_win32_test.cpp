// The real Tockwen.exe's clock in the tray: the icon's pixels on the Wine desktop are the face
// the renderer draws for the current time, and a whole minute equals faces recorded beforehand.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "base/Handles.h"
#include "render/ClockFace.h"
#include "render/FacePpm.h"
#include "support/Driver_win32.h"

using namespace driver;

namespace {

// The local time `offsetMs` from now, as the program reads it.
ClockTime LocalClockAt(int offsetMs) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME file;
    SystemTimeToFileTime(&now, &file);
    ULARGE_INTEGER ticks{};
    ticks.LowPart = file.dwLowDateTime;
    ticks.HighPart = file.dwHighDateTime;
    ticks.QuadPart = static_cast<ULONGLONG>(static_cast<LONGLONG>(ticks.QuadPart) + offsetMs * 10000LL);
    file.dwLowDateTime = ticks.LowPart;
    file.dwHighDateTime = ticks.HighPart;
    SYSTEMTIME shifted;
    FileTimeToSystemTime(&file, &shifted);
    return {shifted.wHour, shifted.wMinute, shifted.wSecond};
}

struct TrayCase {
    const char* name;
    std::vector<std::pair<const wchar_t*, const wchar_t*>> stored;
    SettingsRecord expected;
};

SettingsRecord NightRound() {
    SettingsRecord s = DefaultSettings();
    s.BGColor = 0x00402010;
    s.TColor = 0x0000C0FF;
    s.SColor = 0x000000FF;
    s.MColor = 0x00FFFFFF;
    s.HColor = 0x0080FF80;
    s.ClockShape = true;
    return s;
}

class TrayClockOnDesktop : public testing::TestWithParam<TrayCase> {};

TEST_P(TrayClockOnDesktop, IconShowsTheFaceForTheCurrentTime) {
    const TrayCase& c = GetParam();
    DeleteStoredSettings();
    for (const auto& [key, text] : c.stored)
        StoreSetting(key, text);
    TockwenProcess app;
    ASSERT_TRUE(app.Start());
    // the first frame uses the zero settings; the ticks after it the stored ones
    std::this_thread::sleep_for(std::chrono::milliseconds(700));

    const RECT taskbar = TaskbarRect();
    const int width = taskbar.right - taskbar.left, height = taskbar.bottom - taskbar.top;
    ASSERT_GE(width, 16);
    ASSERT_GE(height, 16);

    // The icon on screen was drawn by the wake at the start of the second (plus the shell's
    // repaint), so the second before the capture counts as well as those around it.
    std::optional<Found> found;
    ClockTime matched{};
    for (int attempt = 0; attempt < 3 && !found; ++attempt) {
        const ClockTime earlier = LocalClockAt(-1000), before = LocalClockAt(0);
        const std::vector<std::uint32_t> pixels = CaptureScreen(taskbar);
        const ClockTime after = LocalClockAt(0);
        for (const ClockTime& t : {before, after, earlier}) {
            Picture face;
            DrawClockFace(face, t, c.expected);
            if ((found = FindFace(pixels, width, height, face))) {
                matched = t;
                break;
            }
        }
        if (!found) std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }
    ASSERT_TRUE(found) << "no 16 x 16 area of the taskbar shows the clock face for the current time";
    const int screenX = taskbar.left + found->x, screenY = taskbar.top + found->y;
    std::printf("[ figure   ] %s: face for %02d:%02d:%02d found at screen (%d, %d)\n", c.name, matched.hour,
                matched.minute, matched.second, screenX, screenY);
    // the first tray icon of the desktop sits in its bottom right corner
    EXPECT_GT(screenX, GetSystemMetrics(SM_CXSCREEN) - 100);
    EXPECT_GT(screenY, GetSystemMetrics(SM_CYSCREEN) - 40);
}

INSTANTIATE_TEST_SUITE_P(Shapes, TrayClockOnDesktop,
                         testing::Values(TrayCase{"default colours", {}, DefaultSettings()},
                                         TrayCase{"round night colours",
                                                  {{L"BGColor", L"4202512"},
                                                   {L"TColor", L"49407"},
                                                   {L"SColor", L"255"},
                                                   {L"MColor", L"16777215"},
                                                   {L"HColor", L"8454016"},
                                                   {L"ClockShape", L"1"}},
                                                  NightRound()}),
                         [](const testing::TestParamInfo<TrayCase>& info) {
                             return info.index == 0 ? "Default" : "RoundNight";
                         });

// Milliseconds from now until `second` s + `ms` into UTC minute `minuteOfDay`; 0 when that is past.
DWORD MillisecondsUntil(int minuteOfDay, int second, int ms) {
    SYSTEMTIME utc;
    GetSystemTime(&utc);
    const long long now = ((utc.wHour * 60LL + utc.wMinute) * 60 + utc.wSecond) * 1000 + utc.wMilliseconds;
    const long long day = 24LL * 3600 * 1000;
    const long long wait = ((minuteOfDay * 60LL + second) * 1000 + ms - now + day) % day;
    return wait < day / 2 ? static_cast<DWORD>(wait) : 0;
}

// Fixed expectations for the shipped arithmetic: at every second of one minute the tray shows
// the face that the native build of the core drew beforehand for 03:45:SS. The program's local
// time is made 03:45 for that minute by the time zone it is started with.
TEST(TrayClockWholeMinute, EverySecondShowsTheRecordedFace) {
    const std::vector<Picture> faces =
        FromPpm(std::string(TOCKWEN_TEST_DATA) + "/render/golden/minute_0345.ppm", 60);
    ASSERT_EQ(faces.size(), 60u);
    DeleteStoredSettings();
    SYSTEMTIME utc;
    GetSystemTime(&utc);
    // the next UTC minute that leaves the program a few seconds to start (it takes about one)
    const int minute = (utc.wHour * 60 + utc.wMinute + (utc.wSecond > 55 ? 2 : 1)) % 1440;
    const int offset = (minute - (3 * 60 + 45) + 1440 + 720) % 1440 - 720; // local = UTC - offset
    wchar_t zone[32];
    swprintf(zone, 32, L"TZ=TKW%c%02d:%02d", offset < 0 ? L'-' : L'+', std::abs(offset) / 60,
             std::abs(offset) % 60);
    TockwenProcess app;
    ASSERT_TRUE(app.Start(TockwenExePath(), zone));

    const RECT taskbar = TaskbarRect();
    const int width = taskbar.right - taskbar.left, height = taskbar.bottom - taskbar.top;
    ASSERT_GE(width, 16);
    ASSERT_GE(height, 16);
    std::string missed;
    for (int second = 0; second < 60; ++second) {
        // half a second in, the tick that drew this second and the shell's repaint are over;
        // two more looks allow for a late repaint on a loaded machine
        Sleep(MillisecondsUntil(minute, second, 500));
        bool shown = false;
        for (int look = 0; look < 3 && !shown; ++look) {
            shown = FindFace(CaptureScreen(taskbar), width, height, faces[static_cast<std::size_t>(second)])
                        .has_value();
            if (!shown) Sleep(100);
        }
        if (shown) continue;
        // which second's face the tray shows instead tells a late clock from a late look
        std::string instead = " none of the minute";
        const std::vector<std::uint32_t> screen = CaptureScreen(taskbar);
        for (std::size_t other = 0; other < faces.size(); ++other)
            if (FindFace(screen, width, height, faces[other])) instead = " " + std::to_string(other);
        missed += " " + std::to_string(second) + " (shown:" + instead + ")";
    }
    EXPECT_EQ(missed, "") << "seconds whose recorded face of 03:45 the tray did not show (all of them: Wine "
                             "ignored "
                          << std::string(zone, zone + wcslen(zone)) << ")";
}

// At 150 % the shell shows tray icons at 24 pixels, and the icon must be the face drawn at that size,
// not the 16-pixel one stretched. The hands take the background colour, so the face is the same at
// every moment and is compared with its reviewed image rather than with this build's renderer.
TEST(TrayClockAtDpi, IconIsTheFaceDrawnAtTheShellsSize) {
    const char* dpi = std::getenv("TOCKWEN_WINE_DPI");
    if (!dpi || std::string(dpi) != "144") GTEST_SKIP() << "runs in the Wine world at 144 DPI";
    ASSERT_EQ(GetSystemMetrics(SM_CXSMICON), 24) << "the world is not at 144 DPI";
    DeleteStoredSettings();
    for (const wchar_t* hand : {L"SColor", L"MColor", L"HColor"})
        StoreSetting(hand, L"4202512");
    StoreSetting(L"BGColor", L"4202512");
    StoreSetting(L"TColor", L"49407");
    StoreSetting(L"ClockShape", L"1");
    const std::vector<Picture> golden =
        FromPpm(std::string(TOCKWEN_TEST_DATA) + "/render/golden/circle_nohands_24.ppm", 1, 24);
    ASSERT_EQ(golden.size(), 1u) << "golden image unreadable";
    const Picture& expected = golden.front();
    TockwenProcess app;
    ASSERT_TRUE(app.Start());

    const RECT taskbar = TaskbarRect();
    std::optional<Found> found;
    WaitFor([&] {
        found = FindFace(CaptureScreen(taskbar), taskbar.right - taskbar.left, taskbar.bottom - taskbar.top,
                         expected);
        return found.has_value();
    });
    ASSERT_TRUE(found) << "no 24 x 24 area of the taskbar shows the reviewed face";
    std::printf("[ figure   ] 24-pixel face found at screen (%d, %d)\n", taskbar.left + found->x,
                taskbar.top + found->y);
}

} // namespace
