// The system colour dialog in one call (the settings dialog's colour chooser).
#include "settings_ui/ColorDialog_win32.h"

#include "settings_ui/ColorDialog.h"

#if !defined(_WIN64)
static_assert(sizeof(CHOOSECOLORW) == 36, "the 32-bit colour dialog record is 36 bytes");
#endif

CHOOSECOLORW ColorDialogRecord(HWND owner, ColorValue initial, std::array<COLORREF, 16>& customColors,
                               std::int16_t dialogType) {
    CHOOSECOLORW record{};
    record.lStructSize = sizeof(record);
    record.hwndOwner = owner;
    // only read with a dialog template of the program's own, but the program's module it is
    record.hInstance = reinterpret_cast<HWND>(::GetModuleHandleW(nullptr));
    record.rgbResult = initial;
    record.lpCustColors = customColors.data();
    record.Flags = ColorDialogFlags(dialogType);
    record.lCustData = 0;
    record.lpfnHook = nullptr;
    record.lpTemplateName = nullptr;
    return record;
}

std::int32_t ShowColorDialog(HWND owner, ColorValue initial, std::array<COLORREF, 16>& customColors,
                             std::int16_t dialogType) {
    CHOOSECOLORW record = ColorDialogRecord(owner, initial, customColors, dialogType);
    if (!::ChooseColorW(&record)) return kColorDialogCancelled;
    return static_cast<std::int32_t>(record.rgbResult);
}
