// A modeless dialog of one kind: its window, its closing hook, and the list of all kinds.
#include "app/ModelessDialog_win32.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "base/WindowIcon_win32.h"

namespace {

// Every kind, each with its one window or none: a handful, made once as the program starts.
std::vector<ModelessDialog*>& Kinds() {
    static std::vector<ModelessDialog*> kinds;
    return kinds;
}

} // namespace

ModelessDialog::ModelessDialog(DLGPROC proc) : proc_(proc) {
    Kinds().push_back(this);
}

ModelessDialog::~ModelessDialog() {
    std::erase(Kinds(), this);
}

void ModelessDialog::Show(HINSTANCE instance, int templateId, std::function<void()> closed) {
    closed_ = std::move(closed);
    if (!window_) {
        window_ = CreateDialogParamW(instance, MAKEINTRESOURCEW(templateId), nullptr, Procedure,
                                     reinterpret_cast<LPARAM>(this));
        if (!window_) return;
        SetWindowIcon(window_, L"AAA", true);
    }
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
}

bool ModelessDialog::HandleAnyMessage(MSG* msg) {
    return std::ranges::any_of(Kinds(), [msg](const ModelessDialog* kind) {
        return kind->window_ && IsDialogMessageW(kind->window_, msg);
    });
}

void ModelessDialog::CloseAll() {
    for (const ModelessDialog* kind : Kinds())
        if (kind->window_) DestroyWindow(kind->window_);
}

INT_PTR CALLBACK ModelessDialog::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto* self = reinterpret_cast<ModelessDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!self) return FALSE; // the few messages before WM_INITDIALOG
    const INT_PTR handled = self->proc_(dialog, message, wParam, lParam);
    if (message == WM_DESTROY) {
        self->window_ = nullptr;
        if (const auto closed = std::exchange(self->closed_, nullptr)) closed();
    }
    return handled;
}
