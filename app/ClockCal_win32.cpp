// The hidden main window: owns the tray icon, the timers, the popup menu and the program's life.
#include "app/ClockCal_win32.h"

#include "app/AppIds.h"
#include "app/RegistrySettingStore_win32.h"
#include "base/Settings.h"
#include "app/TrayIconSize_win32.h"
#include "app/Version.h"
#include "base/WindowIcon_win32.h"
#include "settings_ui/FrmSetting_win32.h"

namespace {

constexpr wchar_t kAboutTitle[] = L"Tockwen v" TOCKWEN_VERSION_TEXT;
constexpr wchar_t kAboutText[] = L"Tockwen는 현재 시각을 아날로그 형태로 표시하는\r\n"
                                 L"트레이 아이콘 시계입니다.\r\n"
                                 L"\r\n"
                                 L"환경설정에서 시계의 모양이나 색, 등을 설정할 수 있습니다.\r\n"
                                 L"\r\n"
                                 L"Tip. 초침을 표시하고 싶지 않으시다면\r\n"
                                 L"초침의 색을 배경색과 같게 해보세요.\r\n"
                                 L"\r\n"
                                 L"Made by Quorvel\r\n"
                                 L"https://github.com/tockwen/tockwen";
constexpr wchar_t kExitText[] = L"정말 종료하시겠습니까?";
constexpr wchar_t kExitTitle[] = L"Tockwen 종료";

} // namespace

bool ClockCal::Create(HINSTANCE instance) {
    instance_ = instance;
    // A hidden tool window: never shown, so it is in neither the taskbar nor Alt+Tab. It is a
    // top-level window rather than a message-only one so that it hears the shell's broadcasts.
    WindowPlace place;
    place.exStyle = WS_EX_TOOLWINDOW;
    place.caption = kMainWindowCaption;
    place.style = WS_OVERLAPPEDWINDOW | WS_MINIMIZE;
    place.width = 200;
    place.height = 100;
    if (!CreateFor(*this, instance, place)) return false;
    StartUp();
    return true;
}

LRESULT ClockCal::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        // Timer1 stays stopped until a beep sequence is armed; the announcement poll and the
        // redraw run from the start
        SetTimer(window_, kTimer2Id, kTimer2Interval, nullptr);
        SetTimer(window_, kTickerId, kTickerInterval, nullptr);
        CreateMenu();
        taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
        showSettings_ = RegisterWindowMessageW(kShowSettingsMessage);
        quit_ = RegisterWindowMessageW(kQuitMessage);
        // Run elevated, this window would not hear a non-elevated shell's restart (its icon would
        // never come back), a second start or the installer closing it: UIPI filters them
        for (UINT allowed : {taskbarCreated_, showSettings_, quit_})
            if (allowed != 0) ChangeWindowMessageFilterEx(window_, allowed, MSGFLT_ALLOW, nullptr);
        return 0;
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        return 0;
    case kTrayCallbackMessage:
        // the shell puts the icon's mouse message in the low word of lParam
        OnTrayCallback(LOWORD(lParam));
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_CLOSE:
        Unload();
        DestroyWindow(window_);
        return 0;
    case WM_DPICHANGED:
    case WM_SETTINGCHANGE:
    case WM_DISPLAYCHANGE:
        // the scaling may have changed: the next tick draws at the shell's new icon size
        UpdateIconSize();
        return DefWindowProcW(window_, message, wParam, lParam);
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // the session ends without WM_CLOSE: save now, or every change of this run is lost
        if (wParam) Unload();
        return 0;
    case WM_DESTROY:
        Unload();
        PostQuitMessage(0);
        return 0;
    default:
        if (message == taskbarCreated_ && taskbarCreated_ != 0) {
            // the shell restarted and forgot our icon: register it again (with the icon still
            // held) and send the next tick's picture whether or not it changed
            if (!unloaded_) {
                AddTrayIcon();
                trayClock_.Resend();
            }
            return 0;
        }
        if (message == showSettings_ && showSettings_ != 0) {
            if (!unloaded_) OnCommand(kCmdSetting);
            return 0;
        }
        if (message == quit_ && quit_ != 0) {
            // the installer or uninstaller closes the clock: as Exit answered Yes, unasked
            Unload();
            DestroyWindow(window_);
            return 0;
        }
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void ClockCal::CreateMenu() {
    menu_.reset(::CreateMenu());
    HMENU popup = CreatePopupMenu();
    AppendMenuW(popup, MF_STRING, kCmdSetting, L"환경설정");
    AppendMenuW(popup, MF_STRING, kCmdAbout, L"도움말");
    AppendMenuW(popup, MF_STRING, kCmdExit, L"종료");
    // the menu bar owns the popup and destroys it with itself
    AppendMenuW(menu_.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popup), L"메뉴");
}

void ClockCal::StartUp() {
    SetWindowIcon(window_, L"AAA", true);

    tray_ = {};
    tray_.cbSize = NOTIFYICONDATAA_V1_SIZE;
    tray_.hWnd = window_;
    tray_.uID = kTrayIconId;
    tray_.uFlags = NIF_MESSAGE | NIF_ICON;
    tray_.uCallbackMessage = kTrayCallbackMessage;
    AddTrayIcon();

    // the first frame is drawn before the settings are read: a black square
    UpdateIconSize();
    DrawClock();

    ShowWindow(window_, SW_HIDE);
    // the window was created minimised and hidden; it is never shown

    RegistrySettingStore store;
    LoadSettings(store, Settings);
    settingsLoaded_ = true;
}

void ClockCal::OnTimer(UINT_PTR id) {
    switch (id) {
    case kTickerId:
        DrawClock();
        break;
    case kTimer2Id:
        if (announcer_.Poll(readClock_(), Settings.Alarm, Settings.Beep)) StartBeepTimer();
        break;
    case kTimer1Id:
        if (announcer_.OnBeepTick() == BeepSequence::Tick::StopTimer) KillTimer(window_, kTimer1Id);
        break;
    default:
        break;
    }
}

// Every tick draws the whole face; only a picture that differs from the one in the tray is
// built into an icon and sent, about once a second instead of ten times.
void ClockCal::DrawClock() {
    const ClockTime now = readClock_();
    if (trayClock_.Draw(now, Settings)) {
        tray_.hIcon = trayClock_.BuildIcon();
        ModifyTrayIcon();
    }
    if (announcer_.HourBeepCheck(now, Settings.Alarm, Settings.Beep)) StartBeepTimer();
}

// Only a real change of size makes the surfaces and the icon bitmap anew (TrayClock::SetSize).
void ClockCal::UpdateIconSize() {
    trayClock_.SetSize(TrayIconSize());
}

void ClockCal::StartBeepTimer() {
    // SetTimer on a running timer restarts its period: the first beep of a new sequence always
    // comes one full interval after arming
    SetTimer(window_, kTimer1Id, kTimer1Interval, nullptr);
}

void ClockCal::OnTrayCallback(UINT mouseMessage) {
    if (mouseMessage != WM_RBUTTONUP) return;
    SetForegroundWindow(window_);
    POINT cursor;
    GetCursorPos(&cursor);
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(
        GetSubMenu(menu_.get(), 0), TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, cursor.x,
        cursor.y, 0, window_, nullptr));
    // lets the menu close properly when the user clicks elsewhere next time
    PostMessageW(window_, WM_NULL, 0, 0);
    if (chosen != 0) OnCommand(chosen);
}

void ClockCal::OnCommand(UINT id) {
    switch (id) {
    case kCmdSetting:
        ShowFrmSetting(instance_);
        break;
    case kCmdAbout:
        ShowAbout();
        break;
    case kCmdExit:
        ConfirmExit();
        break;
    default:
        break;
    }
}

void ClockCal::ShowAbout() {
    MessageBoxW(window_, kAboutText, kAboutTitle, MB_OK);
}

void ClockCal::ConfirmExit() {
    if (MessageBoxW(window_, kExitText, kExitTitle, MB_YESNO | MB_DEFBUTTON1) != IDYES) return;
    Unload();
    DestroyWindow(window_);
}

// Runs once, whichever way the program ends: window closed, Exit answered Yes, or session end.
void ClockCal::Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    UnloadFrmSetting();
    // A session end can arrive while start-up waits on the shell, before the settings are
    // read: saving then would overwrite the stored settings with the all-zero record.
    if (settingsLoaded_) {
        RegistrySettingStore store;
        SaveSettings(store, Settings);
    }
    DeleteTrayIcon();
}

void ClockCal::AddTrayIcon() {
    notifyIcon_(NIM_ADD, &tray_);
}
void ClockCal::ModifyTrayIcon() {
    notifyIcon_(NIM_MODIFY, &tray_);
}
void ClockCal::DeleteTrayIcon() {
    notifyIcon_(NIM_DELETE, &tray_);
}
