// The clock's one notification-area icon: the shell's record of it, in its UTF-16 form, and the
// four things done with it (add, change, remove, give it the keyboard focus).
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <optional>

#include "base/ClockTime.h"

// The one way the clock talks to the notification area; a test records through its own.
using NotifyIconFunction = BOOL(WINAPI*)(DWORD message, NOTIFYICONDATAW* record);

class TrayIcon {
  public:
    explicit TrayIcon(NotifyIconFunction notify) : notify_(notify) {}

    // The record for `window`'s icon `id`, whose callbacks come as `callbackMessage`.
    void Init(HWND window, UINT id, UINT callbackMessage);
    // Every addition asks for the fourth layout of the callback: Enter on the icon and the
    // keyboard's menu key reach the clock only in it. A shell that does not know it keeps the first.
    void Add();
    void Modify() { notify_(NIM_MODIFY, &record_); }
    void Delete() { notify_(NIM_DELETE, &record_); }
    // Puts the keyboard back on the icon, where a keyboard user left it for the menu.
    void Focus() { notify_(NIM_SETFOCUS, &record_); }
    // The next Modify sends this picture; the record only holds it, the caller owns it.
    void SetIcon(HICON icon) { record_.hIcon = icon; }
    // The tooltip, a screen reader's name for the icon: the date and the time to the minute, and
    // while the timer runs the minutes left, rounded up. True when it changed.
    bool SetTip(const ClockTime& now, std::optional<int> timerMinutesLeft);
    // The shell took the fourth layout of the callback.
    bool Version4() const { return version4_; }

  private:
    NotifyIconFunction notify_;
    // The whole record: the Korean tooltip shows whatever the ANSI code page, and the shell reads
    // the layout version (uVersion) only from a record this large.
    NOTIFYICONDATAW record_{};
    bool version4_ = false;
    int tipShown_ = -1; // the minute of the day the tooltip shows, with the timer's minutes left
};
