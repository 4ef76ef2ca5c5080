// The settings dialog's volume slider: Settings.Volume from silent to full in steps.
#include "settings_ui/VolumeSlider_win32.h"

#include <commctrl.h>

#include "base/Settings.h"
#include "settings_ui/FrmSettingLayout.h"

void SetUpVolumeSlider(HWND slider, std::int32_t volume) {
    ::SendMessageW(slider, TBM_SETRANGE, FALSE, MAKELPARAM(0, 100));
    ::SendMessageW(slider, TBM_SETTICFREQ, kVolumeStep, 0);
    ::SendMessageW(slider, TBM_SETLINESIZE, 0, kVolumeStep);
    ::SendMessageW(slider, TBM_SETPAGESIZE, 0, kVolumeStep);
    ::SendMessageW(slider, TBM_SETPOS, TRUE, volume);
}

bool OnVolumeSliderScroll(HWND slider, int code) {
    if (!slider || ::GetDlgCtrlID(slider) != static_cast<int>(ControlId::Slider1)) return false;
    const auto position = static_cast<int>(::SendMessageW(slider, TBM_GETPOS, 0, 0));
    Settings.Volume = VolumeFromSlider(position);
    // a drag stops anywhere: the thumb goes to the step it stands for once it is let go
    if (code != TB_THUMBTRACK && position != Settings.Volume)
        ::SendMessageW(slider, TBM_SETPOS, TRUE, Settings.Volume);
    return code == TB_ENDTRACK;
}
