// The program's icon on its windows' title bars and in the task switcher.
#include "base/WindowIcon_win32.h"

namespace {

HICON LoadGroupIcon(const wchar_t* name, int widthMetric, int heightMetric) {
    // shared icons belong to the system's cache and are never destroyed
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_ICON,
                                         GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric),
                                         LR_SHARED));
}

} // namespace

void SetWindowIcon(HWND window, const wchar_t* resourceName, bool alsoTopOwner) {
    HWND topOwner = window;
    if (alsoTopOwner) {
        while (HWND owner = GetWindow(topOwner, GW_OWNER))
            topOwner = owner;
    }
    HICON large = LoadGroupIcon(resourceName, SM_CXICON, SM_CYICON);
    if (alsoTopOwner) SendMessageW(topOwner, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
    HICON small = LoadGroupIcon(resourceName, SM_CXSMICON, SM_CYSMICON);
    if (alsoTopOwner) SendMessageW(topOwner, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}
