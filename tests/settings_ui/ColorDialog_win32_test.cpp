// The colour chooser: the record it hands to the system and the answers it gives back.
#include "settings_ui/ColorDialog_win32.h"

#include <gtest/gtest.h>

#include "settings_ui/ColorDialog.h"
#include "settings_ui/ColorDialogDriver_win32.h"

namespace {

TEST(ShowColorDialog, Record) {
    std::array<COLORREF, 16> custom{};
    HWND owner = reinterpret_cast<HWND>(0x1234);
    const CHOOSECOLORW record = ColorDialogRecord(owner, 0x00FF8000, custom, 1);
    EXPECT_EQ(record.lStructSize, sizeof(void*) == 4 ? 36u : 72u);
    EXPECT_EQ(record.hwndOwner, owner);
    EXPECT_EQ(reinterpret_cast<HMODULE>(record.hInstance), ::GetModuleHandleW(nullptr));
    EXPECT_EQ(record.rgbResult, 0x00FF8000u);
    EXPECT_EQ(record.lpCustColors, custom.data()) << "the caller's own array, read and written in place";
    EXPECT_EQ(record.Flags, 0x103u);
    EXPECT_EQ(record.lCustData, 0);
    EXPECT_EQ(record.lpfnHook, nullptr);
    EXPECT_EQ(record.lpTemplateName, nullptr);
    EXPECT_EQ(ColorDialogRecord(owner, 0, custom, 2).Flags, 0x105u);
    EXPECT_EQ(ColorDialogRecord(owner, 0, custom, 0).Flags, 0x101u);
}

TEST(ShowColorDialog, AcceptedColourIsReturned) {
    std::array<COLORREF, 16> custom{};
    bool startedOnInitial = false;
    colordlg::Driver driver([&](HWND dialog) {
        wchar_t red[8] = {};
        ::GetDlgItemTextW(dialog, colordlg::kRed, red, 8);
        startedOnInitial = std::wstring(red) == L"128"; // 0x00FF0080: red 128
        colordlg::TypeColor(dialog, 10, 20, 30);
        colordlg::Press(dialog, IDOK);
    });
    EXPECT_EQ(ShowColorDialog(nullptr, 0x00FF0080, custom, 1), static_cast<std::int32_t>(RGB(10, 20, 30)));
    EXPECT_TRUE(driver.Acted());
    EXPECT_TRUE(startedOnInitial) << "CC_RGBINIT: the dialog starts on the caller's colour";
}

TEST(ShowColorDialog, BlackIsAColourNotACancel) {
    std::array<COLORREF, 16> custom{};
    colordlg::Driver driver([](HWND dialog) {
        colordlg::TypeColor(dialog, 0, 0, 0);
        colordlg::Press(dialog, IDOK);
    });
    EXPECT_EQ(ShowColorDialog(nullptr, 0x00FFFFFF, custom, 1), 0);
}

TEST(ShowColorDialog, CancelReturnsMinusOne) {
    std::array<COLORREF, 16> custom{};
    colordlg::Driver driver([](HWND dialog) {
        colordlg::TypeColor(dialog, 1, 2, 3);
        colordlg::Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(ShowColorDialog(nullptr, 0x00FFFFFF, custom, 1), kColorDialogCancelled);
    EXPECT_TRUE(driver.Acted());
}

TEST(ShowColorDialog, CustomColoursStayInTheCallersArray) {
    std::array<COLORREF, 16> custom{};
    custom[5] = RGB(1, 2, 3);
    colordlg::Driver first([](HWND dialog) {
        colordlg::TypeColor(dialog, 200, 100, 50);
        colordlg::Press(dialog, colordlg::kAddCustom);
        colordlg::Press(dialog, IDOK);
    });
    ASSERT_EQ(ShowColorDialog(nullptr, 0, custom, 1), static_cast<std::int32_t>(RGB(200, 100, 50)));
    EXPECT_EQ(custom[0], RGB(200, 100, 50)) << "a custom colour the user added is kept for the next dialog";
    EXPECT_EQ(custom[5], RGB(1, 2, 3));
}

TEST(ShowColorDialog, DialogTypesShapeTheDialog) {
    std::array<COLORREF, 16> custom{};
    struct Seen {
        bool defineEnabled = false;
        bool addVisible = false;
    };
    auto look = [&](std::int16_t type) {
        Seen seen;
        colordlg::Driver driver([&](HWND dialog) {
            seen.defineEnabled = ::IsWindowEnabled(::GetDlgItem(dialog, colordlg::kDefineCustom));
            seen.addVisible = ::IsWindowVisible(::GetDlgItem(dialog, colordlg::kAddCustom));
            colordlg::Press(dialog, IDCANCEL);
        });
        ShowColorDialog(nullptr, 0, custom, type);
        return seen;
    };
    const Seen full = look(1), prevented = look(2), basic = look(0);
    EXPECT_TRUE(full.addVisible) << "type 1 opens with the custom-colour panel expanded";
    EXPECT_FALSE(prevented.defineEnabled) << "type 2 cannot expand the panel";
    EXPECT_FALSE(prevented.addVisible);
    EXPECT_TRUE(basic.defineEnabled);
    EXPECT_FALSE(basic.addVisible);
}

} // namespace
