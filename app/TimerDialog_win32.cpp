// The timer dialog "타이머": an editable list of minutes, 시작 and 취소.
#include "app/TimerDialog_win32.h"

#include <string>
#include <utility>

#include "announce/TimerAlarm.h"
#include "app/DialogIds.h"
#include "app/ModelessDialog_win32.h"

namespace {

constexpr wchar_t kTitle[] = L"타이머";
constexpr wchar_t kBadMinutes[] = L"1부터 999까지의 숫자를 입력하세요.";
constexpr const wchar_t* kOffered[] = {L"1",  L"3",  L"5",  L"10", L"15", L"20",
                                       L"30", L"45", L"60", L"90", L"120"};

TimerDialogHooks hooks; // its start hook

// 시작: a whole number from 1 to 999 starts the timer and closes the dialog; anything else says
// so in a box a screen reader reads, and the focus goes back to the minutes, all selected.
void OnStart(HWND dialog) {
    HWND box = GetDlgItem(dialog, IDC_TIMER_MINUTES);
    wchar_t text[16] = {};
    GetWindowTextW(box, text, 16);
    const std::wstring typed(text);
    if (const auto minutes = ParseTimerMinutes(std::u16string(typed.begin(), typed.end()))) {
        if (hooks.start) hooks.start(*minutes);
        DestroyWindow(dialog);
        return;
    }
    MessageBoxW(dialog, kBadMinutes, kTitle, MB_OK | MB_ICONWARNING);
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE);
    SendMessageW(box, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

INT_PTR CALLBACK TimerDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        for (const wchar_t* minutes : kOffered)
            SendDlgItemMessageW(dialog, IDC_TIMER_MINUTES, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(minutes));
        SendDlgItemMessageW(dialog, IDC_TIMER_MINUTES, CB_LIMITTEXT, 3, 0);
        return TRUE; // the focus goes to the first control, the minutes
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) OnStart(dialog);
        if (LOWORD(wParam) == IDCANCEL) DestroyWindow(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}

ModelessDialog timerDialog(&TimerDialogProc);

} // namespace

void ShowTimerDialog(HINSTANCE instance, TimerDialogHooks withHooks) {
    hooks = std::move(withHooks);
    timerDialog.Show(instance, IDD_TIMER, std::move(hooks.closed));
}
