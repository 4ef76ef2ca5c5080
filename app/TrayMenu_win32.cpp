// The tray icon's popup menu and the boxes it leads to.
#include "app/TrayMenu_win32.h"

#include "app/AppIds.h"
#include "app/Version.h"
#include "base/Handles.h"

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

UINT ShowTrayMenu(HWND owner, POINT at, const TrayMenuState& state) {
    const unique_hmenu menu(CreatePopupMenu());
    HMENU popup = menu.get();
    if (state.alarmRinging) AppendMenuW(popup, MF_STRING, kCmdStopAlarm, L"알람 끄기(&O)");
    AppendMenuW(popup, MF_STRING, kCmdSpeakNow, L"지금 시각 듣기(&T)");
    AppendMenuW(popup, MF_STRING, kCmdTimer, state.timerRunning ? L"타이머 취소(&M)" : L"타이머(&M)...");
    AppendMenuW(popup, MF_STRING, kCmdAlarm, L"알람(&A)...");
    // what a double-click on the icon does; shown bold
    SetMenuDefaultItem(popup, state.alarmRinging ? kCmdStopAlarm : kCmdSpeakNow, FALSE);
    AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(popup, MF_STRING, kCmdSetting, L"환경설정(&S)");
    AppendMenuW(popup, MF_STRING, kCmdAbout, L"도움말(&H)");
    AppendMenuW(popup, MF_STRING, kCmdExit, L"종료(&X)");
    SetForegroundWindow(owner);
    const UINT align = GetSystemMetrics(SM_MENUDROPALIGNMENT) ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    const auto chosen = static_cast<UINT>(TrackPopupMenu(
        popup, align | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, owner, nullptr));
    // lets the menu close properly when the user clicks elsewhere next time
    PostMessageW(owner, WM_NULL, 0, 0);
    return chosen;
}

void ShowAbout(HWND owner) {
    MessageBoxW(owner, kAboutText, kAboutTitle, MB_OK);
}

bool ConfirmExit(HWND owner) {
    return MessageBoxW(owner, kExitText, kExitTitle, MB_YESNO | MB_DEFBUTTON1) == IDYES;
}
