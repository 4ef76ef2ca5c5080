// One modeless dialog of a kind: its window, its closing hook.
#include "app/ModelessDialog_win32.h"

#include <utility>

#include "base/WindowIcon_win32.h"

void ModelessDialog::Show(HINSTANCE instance, int templateId, DLGPROC proc, std::function<void()> closed) {
    closed_ = std::move(closed);
    if (!window_) {
        window_ = CreateDialogParamW(instance, MAKEINTRESOURCEW(templateId), nullptr, proc, 0);
        if (!window_) return;
        SetWindowIcon(window_, L"AAA", true);
    }
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
}

void ModelessDialog::Destroyed() {
    window_ = nullptr;
    if (const auto closed = std::exchange(closed_, nullptr)) closed();
}

void ModelessDialog::Close() const {
    if (window_) DestroyWindow(window_);
}
