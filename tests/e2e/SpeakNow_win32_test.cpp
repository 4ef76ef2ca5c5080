// The time on demand from the real Tockwen.exe at 15:43: "지금 시각 듣기" from its menu and a
// double-click on its icon each say it to the minute, whole and in order, and resting the mouse
// on the icon shows the date and the time in Korean.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "base/KoreanTime.h"
#include "render/ClockFace.h"
#include "support/Driver_win32.h"
#include "tests/announce/SoundTestUtil_win32.h"

using namespace driver;

namespace {

constexpr int kItemSpeakNow = 0;

class SpeakNow : public testing::Test {
  protected:
    // Starts the clock with its local time at 15:43 for at least the next 15 seconds, with no
    // scheduled speech of its own; the UTC offset is given to it through its time zone.
    void SetUp() override {
        DeleteStoredSettings();
        StoreSetting(L"Alarm", L"0");
        SYSTEMTIME utc;
        GetSystemTime(&utc);
        if (utc.wSecond > 44) Sleep((60 - utc.wSecond) * 1000 - utc.wMilliseconds + 100);
        const std::wstring zone = LocalTimeZone(15, 43, date_);
        ASSERT_TRUE(app_.Start(TockwenExePath(), zone));
        date_ = {15, 43, 0, date_.year, date_.month, date_.day};
    }
    void TearDown() override { DeleteStoredSettings(); }

    // The icon's middle on the screen: where the tray shows the face of this minute.
    std::optional<POINT> IconCentre() const {
        const RECT taskbar = TaskbarRect();
        const int width = taskbar.right - taskbar.left, height = taskbar.bottom - taskbar.top;
        std::optional<Found> found;
        WaitFor([&] {
            for (int second = 0; second < 60 && !found; ++second) {
                Picture face(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CXSMICON));
                DrawClockFace(face, {15, 43, second}, DefaultSettings());
                found = FindFace(CaptureScreen(taskbar), width, height, face);
            }
            return found.has_value();
        });
        if (!found) return std::nullopt;
        return POINT{taskbar.left + found->x + GetSystemMetrics(SM_CXSMICON) / 2,
                     taskbar.top + found->y + GetSystemMetrics(SM_CXSMICON) / 2};
    }

    static void MouseTo(POINT at) {
        INPUT move{};
        move.type = INPUT_MOUSE;
        move.mi.dx = at.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        move.mi.dy = at.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
        move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &move, sizeof move);
    }

    static void DoubleClick() {
        INPUT clicks[4]{};
        for (int i = 0; i < 4; ++i) {
            clicks[i].type = INPUT_MOUSE;
            clicks[i].mi.dwFlags = i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
        }
        SendInput(4, clicks, sizeof clicks[0]);
    }

    ClockTime date_;
    TockwenProcess app_;
};

TEST_F(SpeakNow, TheMenuItemAndADoubleClickSayTheTimeToTheMinute) {
    if (!HaveSoundDevice()) GTEST_SKIP() << "no sound device (no PulseAudio null sink in this environment)";
    const std::vector<int> said{120, 104, 134, 124}; // 오후 세 시 사십 삼 분
    const auto byMenu = RecordWhile("Monitor", 3.2, [&] {
        ASSERT_TRUE(app_.ChooseMenuItem(kItemSpeakNow));
        Sleep(2700);
    });
    ASSERT_TRUE(byMenu) << "the sink's monitor cannot be recorded here";
    ExpectClipsInOrder(*byMenu, said);

    const std::optional<POINT> icon = IconCentre();
    ASSERT_TRUE(icon) << "the clock's face is not in the tray";
    const auto byDoubleClick = RecordWhile("Monitor", 3.2, [&] {
        MouseTo(*icon);
        DoubleClick();
        Sleep(2700);
    });
    ASSERT_TRUE(byDoubleClick);
    ExpectClipsInOrder(*byDoubleClick, said);
}

TEST_F(SpeakNow, RestingTheMouseOnTheIconShowsTheDateAndTime) {
    const std::optional<POINT> icon = IconCentre();
    ASSERT_TRUE(icon) << "the clock's face is not in the tray";
    MouseTo({icon->x - 1, icon->y});
    MouseTo(*icon);
    std::wstring shown;
    WaitFor([&] {
        for (HWND tip = FindWindowW(L"tooltips_class32", nullptr); tip;
             tip = FindWindowExW(nullptr, tip, L"tooltips_class32", nullptr)) {
            if (!IsWindowVisible(tip)) continue;
            wchar_t text[128] = {};
            SendMessageW(tip, WM_GETTEXT, 128, reinterpret_cast<LPARAM>(text));
            shown = text;
        }
        return !shown.empty();
    });
    const std::u16string expected = DateTimeText(date_);
    EXPECT_EQ(shown, std::wstring(expected.begin(), expected.end()));
}

} // namespace
