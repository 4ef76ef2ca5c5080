// The dialog-type table of the colour chooser.
#include "settings_ui/ColorDialog.h"

std::uint32_t ColorDialogFlags(std::int16_t dialogType) {
    switch (dialogType) {
    case 1:
        return kCcFullOpen | kCcAnyColor | kCcRgbInit;
    case 2:
        return kCcPreventFullOpen | kCcAnyColor | kCcRgbInit;
    default:
        return kCcAnyColor | kCcRgbInit;
    }
}
