// The closed height of a combo box, which the system otherwise takes from the font.
#include "settings_ui/ComboHeight_win32.h"

namespace {

int OuterHeight(HWND window) {
    RECT rect;
    ::GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

} // namespace

// The field height is corrected by what the outer height lacks; a second step covers Wine, whose
// field reads 2 pixels more than was set once a height has been set.
void FitComboHeight(HWND combo, int height) {
    auto field = static_cast<int>(::SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    int outer = OuterHeight(combo);
    for (int step = 0; step < 2 && outer != height && field + height - outer > 0; ++step) {
        field += height - outer;
        ::SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
        outer = OuterHeight(combo);
    }
}
