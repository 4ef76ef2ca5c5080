// The settings dialog FrmSetting: a modeless window whose controls write straight into Settings.
#include "settings_ui/FrmSetting_win32.h"

#include <commctrl.h>

#include <cwchar>
#include <memory>
#include <string>
#include <utility>

#include "base/Handles.h"
#include "base/KoreanTime.h"
#include "base/Settings.h"
#include "base/WideText_win32.h"
#include "base/WindowDpi_win32.h"
#include "base/WindowIcon_win32.h"
#include "base/Window_win32.h"
#include "base/ResolveColor_win32.h"
#include "settings_ui/ColorDialog.h"
#include "settings_ui/ColorDialog_win32.h"
#include "settings_ui/ComboHeight_win32.h"
#include "settings_ui/FrmSettingLayout.h"
#include "settings_ui/Registry_win32.h"
#include "settings_ui/RunRegistration.h"
#include "settings_ui/SpeakKeyChoice.h"
#include "settings_ui/VolumeSlider_win32.h"
#include "settings_ui/XPStyle_win32.h"

std::array<COLORREF, 16> CustomColors{};

namespace {

constexpr wchar_t kFrmSettingClass[] = L"TockwenFrmSetting";
constexpr DWORD kFrmSettingStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kFrmSettingExStyle = 0;

// The dialog font at `dpi`: the stock GUI font, which the system makes for its own DPI, scaled.
// At the system DPI it is that very font.
unique_hfont DialogFontAt(int dpi) {
    LOGFONTW font{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    const int systemDpi = SystemDpi();
    font.lfHeight = ScaleToDpi(font.lfHeight, systemDpi, dpi);
    font.lfWidth = ScaleToDpi(font.lfWidth, systemDpi, dpi);
    return unique_hfont(::CreateFontIndirectW(&font));
}

RunKeyRegistry systemRunRegistry;
RunRegistry* runRegistry = &systemRunRegistry;
FrmSettingHooks hooks;

class FrmSetting;
// the open dialog, owned by its window; null when it is closed
FrmSetting* openDialog = nullptr;
unsigned openings = 0; // tells a dialog that was closed and reopened from the one that was not

class FrmSetting : public Window<FrmSetting> {
  public:
    FrmSetting() : serial_(++openings) {}
    ~FrmSetting() {
        if (openDialog == this) openDialog = nullptr;
    }

    // Creates the dialog's window, which owns the dialog from then on; null when it cannot be made.
    static HWND Open(HINSTANCE instance) {
        // sized for the system DPI; a window that opens on a monitor of another DPI is resized at
        // its creation
        const int dpi = SystemDpi();
        RECT outer{0, 0, PixelsFromTwips(kClientWidthTwips, dpi), PixelsFromTwips(kClientHeightTwips, dpi)};
        ::AdjustWindowRectEx(&outer, kFrmSettingStyle, FALSE, kFrmSettingExStyle);
        const std::wstring caption = WidenUtf16(kFrmSettingCaption);
        // no owner: the dialog stands on its own, modeless, like the hidden main window
        WindowPlace place;
        place.exStyle = kFrmSettingExStyle;
        place.caption = caption.c_str();
        place.style = kFrmSettingStyle;
        place.width = outer.right - outer.left;
        place.height = outer.bottom - outer.top;
        return CreateOwned(std::make_unique<FrmSetting>(), instance, place);
    }

    HWND HotKeyBox() const { return hotKey1_; }

  private:
    friend class Window<FrmSetting>;
    static constexpr const wchar_t* kClassName = kFrmSettingClass;

    static void ConfigureClass(WNDCLASSEXW& cls) {
        // a window of its own class with the dialog manager behind it: Tab, arrows, focus memory
        cls.cbWndExtra = DLGWINDOWEXTRA;
        cls.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    }

    static LRESULT DefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        return ::DefDlgProcW(window, message, wParam, lParam);
    }

    int Px(int twips) const { return PixelsFromTwips(twips, dpi_); }

    static bool IsDropDown(ControlKind kind) {
        return kind == ControlKind::Combo || kind == ControlKind::List;
    }

    struct PixelPlace {
        int left, top, width, height;
    };
    // A control's place in pixels at the dialog's DPI; a combo box's height includes its list.
    PixelPlace PlaceOf(const ControlPlace& c) const {
        const int listHeight = IsDropDown(c.kind) ? Px(kComboListTwips) : 0;
        return {Px(c.left), Px(c.top), Px(c.width), Px(c.height) + listHeight};
    }

    // The client area takes the layout's size at the dialog's DPI, the frame staying as it is.
    void FitClientArea() {
        RECT outer, client;
        ::GetWindowRect(window_, &outer);
        ::GetClientRect(window_, &client);
        const int width = Px(kClientWidthTwips), height = Px(kClientHeightTwips);
        if (client.right == width && client.bottom == height) return;
        ::SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left - client.right + width,
                       outer.bottom - outer.top - client.bottom + height,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // The font, and for a combo box the closed height, that a control takes at the dialog's DPI.
    void DressControl(HWND control, const ControlPlace& c, bool redraw) const {
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), redraw);
        // the closed combo box takes the height the layout gives it, whatever the font makes of it
        if (IsDropDown(c.kind)) FitComboHeight(control, Px(c.height));
    }

    void CreateControls() {
        const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(window_, GWLP_HINSTANCE));
        for (const ControlPlace& c : kFrmSettingControls) {
            const int id = static_cast<int>(c.id);
            const PixelPlace place = PlaceOf(c);
            if (c.kind == ControlKind::XPStyle) {
                CreateXPStyle(window_, place.left, place.top, place.width, place.height, id);
                continue;
            }
            const wchar_t* cls = L"STATIC";
            DWORD style = WS_CHILD | WS_VISIBLE;
            switch (c.kind) {
            case ControlKind::Label:
                // a label with an access key underlines its letter and passes the key on
                style |= SS_LEFT | WS_GROUP | (c.text.find(u'&') == c.text.npos ? SS_NOPREFIX : 0);
                break;
            case ControlKind::Preview:
                // it only shows a colour: never a tab stop
                style |= SS_OWNERDRAW;
                break;
            case ControlKind::Combo:
                cls = WC_COMBOBOXW;
                style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP | WS_GROUP;
                break;
            case ControlKind::List:
                cls = WC_COMBOBOXW;
                style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP;
                break;
            case ControlKind::CheckBox:
            case ControlKind::WrappedCheckBox:
                cls = WC_BUTTONW;
                style |= BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP |
                         (c.kind == ControlKind::WrappedCheckBox ? BS_MULTILINE | BS_TOP : 0);
                break;
            case ControlKind::HotKey:
                cls = HOTKEY_CLASSW;
                style |= WS_TABSTOP | WS_GROUP;
                break;
            case ControlKind::OptionButton:
                cls = WC_BUTTONW;
                // the first option opens the group; the button keeps WS_TABSTOP on the checked one
                style |= BS_AUTORADIOBUTTON | WS_TABSTOP | (c.id == ControlId::Option1Square ? WS_GROUP : 0);
                break;
            case ControlKind::PushButton:
                cls = WC_BUTTONW;
                style |= BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP;
                break;
            case ControlKind::Slider:
                cls = TRACKBAR_CLASSW;
                style |= TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP | WS_GROUP;
                break;
            case ControlKind::XPStyle:
                break;
            }
            const std::wstring text = WidenUtf16(c.text);
            HWND control = ::CreateWindowExW(
                0, cls, text.c_str(), style, place.left, place.top, place.width, place.height, window_,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
            DressControl(control, c, false);
        }
        combo1_ = Item(ControlId::Combo1);
        combo2_ = Item(ControlId::Combo2);
        check1_ = Item(ControlId::Check1);
        check2_ = Item(ControlId::Check2);
        square_ = Item(ControlId::Option1Square);
        circle_ = Item(ControlId::Option1Circle);
        shape1_ = Item(ControlId::Shape1);
        hotKey1_ = Item(ControlId::HotKey1);
        // a key pressed in a combo box's edit part goes to that edit, not to the combo box
        WatchComboKeys(combo1_, ControlId::Combo1);
        WatchComboKeys(combo2_, ControlId::Combo2);
        ::SetWindowSubclass(hotKey1_, HotKeyBoxProc, 0, reinterpret_cast<DWORD_PTR>(this));
    }

    void Load() {
        // centred on the whole screen by the window's outer size
        RECT outer;
        ::GetWindowRect(window_, &outer);
        const int left = CentredStart(::GetSystemMetrics(SM_CXSCREEN), outer.right - outer.left);
        const int top = CentredStart(::GetSystemMetrics(SM_CYSCREEN), outer.bottom - outer.top);
        ::SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowIcon(window_, L"AAA", true);
        for (std::u16string_view entry : kIntervalEntries)
            AddEntry(combo1_, entry);
        for (std::u16string_view entry : kColorTargetEntries)
            AddEntry(combo2_, entry);
        // setting a control runs its reaction, which writes back the value just read
        ::SendMessageW(combo2_, CB_SETCURSEL, 0, 0);
        OnCombo2Change();
        // an Alarm with no entry shows no selection and stays as it is until the user picks one
        ::SendMessageW(combo1_, CB_SETCURSEL, static_cast<WPARAM>(IntervalIndexFromAlarm(Settings.Alarm)), 0);
        OnCombo1Change();
        ::SendMessageW(check1_, BM_SETCHECK, Settings.Beep ? BST_CHECKED : BST_UNCHECKED, 0);
        OnCheck1Click();
        ::SendMessageW(Settings.ClockShape ? circle_ : square_, BM_SETCHECK, BST_CHECKED, 0);
        OnOption1Click();
        // ticking the box is a change of it: the registration is rewritten with this location
        if (IsRunRegistered(CurrentRunPath(), *runRegistry)) {
            ::SendMessageW(check2_, BM_SETCHECK, BST_CHECKED, 0);
            OnCheck2Click();
        }
        // a plain key shows as ctrl+alt and the key at once; ChooseSpeakKey adds ctrl+alt to the others
        ::SendMessageW(hotKey1_, HKM_SETRULES, HKCOMB_NONE, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
        ::SendMessageW(hotKey1_, HKM_SETHOTKEY, static_cast<WPARAM>(Settings.SpeakKey), 0);
        // a stored key that the main window could not take at start-up is held by another program
        ShowSpeakKeyRefused(Settings.SpeakKey != HeldSpeakKey() ? Settings.SpeakKey : 0);
        for (ControlId list : {ControlId::Combo3, ControlId::Combo4})
            for (int hour = 0; hour < 24; ++hour)
                AddEntry(Item(list), HourText(hour));
        ::SendMessageW(Item(ControlId::Combo3), CB_SETCURSEL, static_cast<WPARAM>(Settings.QuietFrom), 0);
        ::SendMessageW(Item(ControlId::Combo4), CB_SETCURSEL, static_cast<WPARAM>(Settings.QuietTo), 0);
        ::SendMessageW(Item(ControlId::Check3), BM_SETCHECK,
                       Settings.QuietHours ? BST_CHECKED : BST_UNCHECKED, 0);
        OnCheck3Click();
        ::SendMessageW(Item(ControlId::Check4), BM_SETCHECK, Settings.QuietBusy ? BST_CHECKED : BST_UNCHECKED,
                       0);
        SetUpVolumeSlider(Item(ControlId::Slider1), Settings.Volume);
        // the colour preview once more, now that every setting is in place
        OnCombo2Change();
        ShowHighContrast();
    }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        case WM_CREATE:
            openDialog = this;
            dpi_ = WindowDpi(window_);
            font_ = DialogFontAt(dpi_);
            FitClientArea();
            CreateControls();
            Load();
            return 0;
        case WM_DPICHANGED:
            OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_COMMAND:
            // Escape arrives as IDCANCEL: it closes the dialog as the close box does
            if (LOWORD(wParam) == IDCANCEL) return ::SendMessageW(window_, WM_CLOSE, 0, 0);
            OnCommand(static_cast<ControlId>(LOWORD(wParam)), HIWORD(wParam));
            return 0;
        case WM_GETMINMAXINFO:
            // the frame cannot be dragged: the window takes the layout's size even where that is more
            // than the screen (a high DPI on a small one), which would otherwise cut off the last rows
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMaxTrackSize = {SHRT_MAX, SHRT_MAX};
            return 0;
        case WM_HSCROLL:
            // the slider let go of at a new level: the main window lets the user hear it
            if (OnVolumeSliderScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam)) && hooks.volumeChosen)
                hooks.volumeChosen(Settings.Volume);
            return 0;
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETHIGHCONTRAST) ShowHighContrast();
            break;
        case WM_SYSCOLORCHANGE:
            ShowHighContrast();
            break;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item->hwndItem == shape1_) {
                DrawPreview(item->hDC, item->rcItem);
                return TRUE;
            }
            break;
        }
        case WM_CLOSE:
            ::DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            ApplyHotKeyBox();
            if (hooks.closed) hooks.closed();
            break;
        }
        return ::DefDlgProcW(window_, message, wParam, lParam);
    }

    // Key down in a combo box's edit part: the same update as a selection change, on the selection
    // that holds before the key takes effect.
    void OnComboKey(ControlId id) {
        if (id == ControlId::Combo1)
            OnCombo1Change();
        else
            OnCombo2Change();
    }

    // Moved to a monitor of another DPI (or the scaling changed): the new layout and font, in the
    // window rectangle the system suggests.
    void OnDpiChanged(int dpi, const RECT& suggested) {
        dpi_ = dpi;
        // the controls hold the old font until each has the new one
        const unique_hfont previous = std::exchange(font_, DialogFontAt(dpi_));
        ::SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                       suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        for (const ControlPlace& c : kFrmSettingControls) {
            HWND control = Item(c.id);
            if (c.kind == ControlKind::XPStyle) SetXPStyleDpi(control, dpi_);
            const PixelPlace place = PlaceOf(c);
            ::SetWindowPos(control, nullptr, place.left, place.top, place.width, place.height,
                           SWP_NOZORDER | SWP_NOACTIVATE);
            if (c.kind != ControlKind::XPStyle) DressControl(control, c, true);
        }
    }

    HWND Item(ControlId id) const { return ::GetDlgItem(window_, static_cast<int>(id)); }

    static void AddEntry(HWND combo, std::u16string_view entry) {
        const std::wstring text = WidenUtf16(entry);
        ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }

    static HWND EditOf(HWND combo) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        return ::GetComboBoxInfo(combo, &info) ? info.hwndItem : nullptr;
    }

    static LRESULT CALLBACK ComboEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR data) {
        if (message == WM_KEYDOWN)
            reinterpret_cast<FrmSetting*>(data)->OnComboKey(static_cast<ControlId>(id));
        // the edit is destroyed before the dialog is: its subclass goes with it
        if (message == WM_NCDESTROY) ::RemoveWindowSubclass(hwnd, ComboEditProc, id);
        return ::DefSubclassProc(hwnd, message, wParam, lParam);
    }

    void WatchComboKeys(HWND combo, ControlId id) {
        if (HWND edit = EditOf(combo))
            ::SetWindowSubclass(edit, ComboEditProc, static_cast<UINT_PTR>(id),
                                reinterpret_cast<DWORD_PTR>(this));
    }

    void OnCommand(ControlId id, WORD code) {
        switch (id) {
        case ControlId::Combo1:
            if (code == CBN_SELCHANGE) OnCombo1Change();
            break;
        case ControlId::Combo2:
            if (code == CBN_SELCHANGE) OnCombo2Change();
            break;
        case ControlId::Command1:
            if (code == BN_CLICKED) OnCommand1Click();
            break;
        case ControlId::Check1:
            if (code == BN_CLICKED) OnCheck1Click();
            break;
        case ControlId::Option1Square:
        case ControlId::Option1Circle:
            if (code == BN_CLICKED) OnOption1Click();
            break;
        case ControlId::Check2:
            if (code == BN_CLICKED) OnCheck2Click();
            break;
        case ControlId::Check3:
            if (code == BN_CLICKED) OnCheck3Click();
            break;
        case ControlId::Combo3:
        case ControlId::Combo4:
            if (code == CBN_SELCHANGE) OnQuietHourChange(id);
            break;
        case ControlId::Check4:
            if (code == BN_CLICKED) Settings.QuietBusy = IsTicked(ControlId::Check4);
            break;
        default:
            // Enter away from a button arrives as IDOK: the dialog has no such button
            break;
        }
    }

    // Text typed into the edit part selects no entry (-1) and changes nothing.
    void OnCombo1Change() {
        const auto index = static_cast<int>(::SendMessageW(combo1_, CB_GETCURSEL, 0, 0));
        if (const std::optional<std::int32_t> alarm = AlarmFromIntervalIndex(index)) Settings.Alarm = *alarm;
    }

    void OnCombo2Change() {
        if (const ColorValue* target = SelectedTarget()) ShowPreview(*target);
    }

    ColorValue* SelectedTarget() const {
        return ColorTargetSetting(Settings, static_cast<int>(::SendMessageW(combo2_, CB_GETCURSEL, 0, 0)));
    }

    void OnCommand1Click() {
        ColorValue* target = SelectedTarget();
        if (!target) return;
        // the colour dialog and the messages after it may close this dialog and delete this object
        const unsigned serial = serial_;
        const std::int32_t chosen = ShowColorDialog(window_, ResolveColorWin32(*target), CustomColors, 1);
        // let the clock and this dialog repaint before the result is used
        PumpWaitingMessages();
        if (chosen != kColorDialogCancelled) *target = static_cast<ColorValue>(chosen);
        if (openDialog && openDialog->serial_ == serial) ShowPreview(*target);
    }

    void OnCheck1Click() { Settings.Beep = ::SendMessageW(check1_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

    void OnOption1Click() { Settings.ClockShape = ::SendMessageW(circle_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

    void OnCheck2Click() {
        const bool ticked = ::SendMessageW(check2_, BM_GETCHECK, 0, 0) == BST_CHECKED;
        const bool registered = ApplyRunBox(ticked, CurrentRunPath(), *runRegistry);
        // A change that could not happen (a machine-wide value a standard user cannot delete):
        // show what the registry holds. BM_SETCHECK sends no click, so this handler does not run again.
        if (registered != ticked)
            ::SendMessageW(check2_, BM_SETCHECK, registered ? BST_CHECKED : BST_UNCHECKED, 0);
    }

    bool IsTicked(ControlId box) const { return ::SendMessageW(Item(box), BM_GETCHECK, 0, 0) == BST_CHECKED; }

    std::int32_t HeldSpeakKey() const {
        return hooks.heldSpeakKey ? hooks.heldSpeakKey() : Settings.SpeakKey;
    }

    // The refused key is named, so that the message stays true while the box shows the held key
    // again; no key, no message.
    void ShowSpeakKeyRefused(std::int32_t refusedKey) {
        std::wstring message;
        if (refusedKey != 0) {
            const UINT virtualKey = static_cast<UINT>(refusedKey & 0xFF);
            // the scan code with the extended-key bit (HOTKEYF_EXT), as GetKeyNameText reads a key message
            const LONG scan = static_cast<LONG>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC) << 16) |
                              ((refusedKey & (HOTKEYF_EXT << 8)) ? 1L << 24 : 0L);
            wchar_t name[64] = {};
            if (::GetKeyNameTextW(scan, name, static_cast<int>(std::size(name))) <= 0)
                std::swprintf(name, std::size(name), L"0x%02X", virtualKey);
            const std::u16string keyName(name, name + std::wcslen(name));
            message = WidenUtf16(SpeakKeyText(refusedKey, keyName) + std::u16string(kSpeakKeyRefused));
        }
        ::SetWindowTextW(Item(ControlId::Label4), message.c_str());
    }

    // The box's value is applied when the user leaves the box or closes the dialog, never at a
    // keystroke: the control reports every key, and the first of a new combination as no key at all.
    // A new hot key is stored only once the main window holds it; one that the system refuses is
    // said so beside the box and changes nothing. The box then shows the stored key.
    void ApplyHotKeyBox() {
        const auto value = static_cast<std::int32_t>(::SendMessageW(hotKey1_, HKM_GETHOTKEY, 0, 0) & 0xFFFF);
        const SpeakKeyChoice choice =
            ChooseSpeakKey(value, std::exchange(boxCleared_, false), HeldSpeakKey());
        if (choice.step != SpeakKeyStep::Keep) {
            const bool taken = hooks.applySpeakKey && hooks.applySpeakKey(choice.key);
            if (taken) Settings.SpeakKey = choice.key;
            ShowSpeakKeyRefused(taken ? 0 : choice.key);
        }
        ::SendMessageW(hotKey1_, HKM_SETHOTKEY, static_cast<WPARAM>(Settings.SpeakKey), 0);
    }

    // Keys the box never takes as a hot key, watched before the control sees them (it clears itself
    // at Backspace and Delete without a word). Alt+F4 taken would make every program's Alt+F4 speak.
    bool OnHotKeyBoxKey(WPARAM key, LPARAM flags) {
        const bool altOnly = (HIWORD(flags) & KF_ALTDOWN) != 0; // the system-key context: Alt without Ctrl
        switch (key) {
        case VK_TAB:
            ::SendMessageW(window_, WM_NEXTDLGCTL, ::GetKeyState(VK_SHIFT) < 0, FALSE);
            return true;
        case VK_F4:
            if (!altOnly) return false;
            [[fallthrough]];
        case VK_ESCAPE:
            ::PostMessageW(window_, WM_CLOSE, 0, 0);
            return true;
        case VK_RETURN:
            return true;
        case VK_BACK:
        case VK_DELETE:
            ::SendMessageW(hotKey1_, HKM_SETHOTKEY, 0, 0);
            boxCleared_ = true;
            return true;
        default:
            return false;
        }
    }

    static LRESULT CALLBACK HotKeyBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR data) {
        auto* self = reinterpret_cast<FrmSetting*>(data);
        switch (message) {
        case WM_GETDLGCODE: {
            // the dialog manager would make Escape and Enter commands of the dialog: the box keeps them
            const auto* msg = reinterpret_cast<const MSG*>(lParam);
            if (msg && msg->message == WM_KEYDOWN && (msg->wParam == VK_ESCAPE || msg->wParam == VK_RETURN))
                return DLGC_WANTMESSAGE | ::DefSubclassProc(box, message, wParam, lParam);
            break;
        }
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (self->OnHotKeyBoxKey(wParam, lParam)) return 0;
            break;
        case WM_CHAR:
        case WM_SYSCHAR:
            // the key came with its key-down already; Wine's control takes the character for a second
            // press, and that of Tab, Enter, Escape or Backspace for a reset
            return 0;
        case WM_KILLFOCUS:
            self->ApplyHotKeyBox();
            break;
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(box, HotKeyBoxProc, id);
            break;
        }
        return ::DefSubclassProc(box, message, wParam, lParam);
    }

    // The hours can be chosen only while quiet hours are on.
    void OnCheck3Click() {
        Settings.QuietHours = IsTicked(ControlId::Check3);
        for (ControlId list : {ControlId::Combo3, ControlId::Combo4})
            ::EnableWindow(Item(list), Settings.QuietHours);
    }

    void OnQuietHourChange(ControlId list) {
        const auto hour = static_cast<int>(::SendMessageW(Item(list), CB_GETCURSEL, 0, 0));
        if (hour < 0 || hour > 23) return;
        (list == ControlId::Combo3 ? Settings.QuietFrom : Settings.QuietTo) = hour;
    }

    // Under high contrast the face takes the system's colours, not the chosen ones: the colour row
    // is greyed out, and Label8 says why.
    void ShowHighContrast() {
        const bool on = hooks.highContrast && hooks.highContrast();
        HWND command1 = Item(ControlId::Command1);
        if (HWND focus = ::GetFocus();
            on && (focus == combo2_ || ::IsChild(combo2_, focus) || focus == command1))
            ::SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(check2_), TRUE);
        for (HWND control : {Item(ControlId::Label7), combo2_, shape1_, command1})
            ::EnableWindow(control, !on);
        const std::wstring note = on ? WidenUtf16(kHighContrastNote) : std::wstring();
        ::SetWindowTextW(Item(ControlId::Label8), note.c_str());
        ::InvalidateRect(shape1_, nullptr, FALSE);
    }

    void ShowPreview(ColorValue color) {
        preview_ = color;
        ::InvalidateRect(shape1_, nullptr, FALSE);
    }

    void DrawPreview(HDC dc, const RECT& rect) const {
        // an opaque square with a one-pixel black border, like a drawn rectangle shape; greyed out,
        // an empty one with a border of greyed text
        const bool enabled = ::IsWindowEnabled(shape1_);
        unique_select_object brush(dc, ::GetStockObject(DC_BRUSH));
        unique_select_object pen(dc, ::GetStockObject(enabled ? BLACK_PEN : DC_PEN));
        ::SetDCPenColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
        ::SetDCBrushColor(dc, enabled ? ResolveColorWin32(preview_) : ::GetSysColor(COLOR_BTNFACE));
        ::Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    }

    static void PumpWaitingMessages() {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            if (FrmSettingIsDialogMessage(&msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

    unsigned serial_;
    int dpi_ = kDefaultDpi;
    unique_hfont font_; // the controls' font at dpi_; outlives them, as the window's object does
    HWND combo1_ = nullptr, combo2_ = nullptr, check1_ = nullptr, check2_ = nullptr;
    HWND square_ = nullptr, circle_ = nullptr, shape1_ = nullptr, hotKey1_ = nullptr;
    bool boxCleared_ = false; // the user emptied the hot-key box with Backspace or Delete
    ColorValue preview_ = 0;
};

} // namespace

void ShowFrmSetting(HINSTANCE instance, FrmSettingHooks withHooks) {
    hooks = std::move(withHooks);
    if (openDialog) {
        ::ShowWindow(openDialog->window(), SW_SHOWNORMAL);
        ::SetForegroundWindow(openDialog->window());
        return;
    }
    HWND hwnd = FrmSetting::Open(instance);
    if (!hwnd) return;
    ::ShowWindow(hwnd, SW_SHOWNORMAL);
    ::SetForegroundWindow(hwnd);
}

void UnloadFrmSetting() {
    if (openDialog) ::DestroyWindow(openDialog->window());
}

HWND FrmSettingWindow() {
    return openDialog ? openDialog->window() : nullptr;
}

bool FrmSettingIsDialogMessage(MSG* msg) {
    // Alt and a letter in the hot-key box is a key for the box, not an access key of the dialog
    if (msg->message == WM_SYSCHAR && openDialog && msg->hwnd == openDialog->HotKeyBox()) return false;
    return openDialog && ::IsDialogMessageW(openDialog->window(), msg);
}

void SetFrmSettingRunRegistry(RunRegistry* registry) {
    runRegistry = registry ? registry : &systemRunRegistry;
}
