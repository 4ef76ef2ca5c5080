// The settings dialog (placeholder: a single empty window until the real dialog lands).
#include "settings_ui/FrmSetting_win32.h"

namespace {

HWND gDialog = nullptr;
constexpr wchar_t kClass[] = L"TockwenFrmSetting";

LRESULT CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) gDialog = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

void ShowFrmSetting(HINSTANCE instance) {
    if (!gDialog) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DialogProc;
        wc.hInstance = instance;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kClass;
        RegisterClassExW(&wc);
        gDialog = CreateWindowExW(0, kClass, L"환경설정", WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 211, 200, nullptr, nullptr, instance, nullptr);
    }
    ShowWindow(gDialog, SW_SHOW);
    SetForegroundWindow(gDialog);
}

void UnloadFrmSetting() {
    if (gDialog) DestroyWindow(gDialog);
}

HWND FrmSettingWindow() {
    return gDialog;
}

bool FrmSettingIsDialogMessage(MSG* msg) {
    return gDialog && IsDialogMessageW(gDialog, msg);
}
