// The clock's notification-area icon and its record.
#include "app/TrayIcon_win32.h"

#include <algorithm>
#include <string>

#include "base/KoreanTime.h"
#include "base/WideText_win32.h"

void TrayIcon::Init(HWND window, UINT id, UINT callbackMessage) {
    record_ = {};
    record_.cbSize = sizeof(record_);
    record_.hWnd = window;
    record_.uID = id;
    // with the fourth layout the shell shows the tooltip only when asked to
    record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
    record_.uCallbackMessage = callbackMessage;
}

void TrayIcon::Add() {
    notify_(NIM_ADD, &record_);
    record_.uVersion = NOTIFYICON_VERSION_4;
    version4_ = notify_(NIM_SETVERSION, &record_) != FALSE;
}

bool TrayIcon::SetTip(const ClockTime& now, std::optional<int> timerMinutesLeft) {
    const int shown = (now.hour * 60 + now.minute) * 1000 + timerMinutesLeft.value_or(-1);
    if (shown == tipShown_) return false;
    tipShown_ = shown;
    std::wstring tip = WidenUtf16(DateTimeText(now));
    if (timerMinutesLeft) tip += L"\n타이머 " + std::to_wstring(*timerMinutesLeft) + L"분 남음";
    const std::size_t length = std::min(tip.size(), std::size(record_.szTip) - 1);
    std::copy_n(tip.begin(), length, record_.szTip);
    record_.szTip[length] = L'\0';
    return true;
}
