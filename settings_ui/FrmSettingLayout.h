// The settings dialog's layout, texts and list entries, and how its lists map onto the settings.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "base/Settings.h"
#include "settings_ui/Twips.h"

inline constexpr int kClientWidthTwips = 3075;
// the rows of the clock and its speech, then the hot key, the quiet hours, quiet while busy and
// the volume
inline constexpr int kClientHeightTwips = 6135;
// the dropped-down part of a combo box: room for the seven intervals (150 pixels at 96 DPI)
inline constexpr int kComboListTwips = 2250;

// Combo: an editable drop-down; List: a drop-down list to choose from; WrappedCheckBox: a check
// box whose caption takes two lines.
enum class ControlKind {
    Label,
    Combo,
    List,
    CheckBox,
    WrappedCheckBox,
    OptionButton,
    PushButton,
    Preview,
    HotKey,
    Slider,
    XPStyle
};

enum class ControlId : int {
    XPStyle1 = 1000,
    Combo1,
    Label1,
    Check1,
    Label2,
    Option1Square, // Option1 index 0
    Option1Circle, // Option1 index 1
    Shape1,
    Combo2,
    Command1,
    Check2,
    Label3,  // 시각 듣기 단축키
    HotKey1, // the hot key that says the time now
    Label4,  // why a hot key was not taken
    Check3,  // 조용한 시간
    Combo3,  // quiet from
    Label5,  // 부터
    Combo4,  // quiet until
    Label6,  // 까지
    Check4,  // quiet while the user is busy
    Label7,  // 색: names the colour list
    Label8,  // why the colour row is greyed out under high contrast
    Label9,  // 소리 크기: names the volume slider
    Slider1, // the volume of every sound
};

struct ControlPlace {
    ControlId id;
    ControlKind kind;
    std::u16string_view text;
    int left, top, width, height; // twips within the client area
};

// In the order the dialog creates them, which is also the keyboard order. XPStyle1 comes first
// so that the common controls are prepared before any of the others exist. Label2 stands before
// the two option buttons (it cannot take the focus), so that the buttons form one unbroken group
// for the arrow keys. The rows below the first ones follow them down the dialog.
// A list or the hot-key box comes right after the label that names it: the label's access key
// leads to it, and a screen reader reads the label as its name. So "부터" and "까지" come before
// their lists although they are shown to the right of them, and the colour preview after the list.
// Each letter in (&X) is used once in the dialog.
inline constexpr std::array<ControlPlace, 24> kFrmSettingControls{{
    {ControlId::XPStyle1, ControlKind::XPStyle, u"", 1920, 960, 810, 810},
    {ControlId::Label1, ControlKind::Label, u"일정 시간마다 현재 시각 알리기(&A)", 240, 240, 2535, 195},
    {ControlId::Combo1, ControlKind::Combo, u"", 240, 520, 2535, 315},
    {ControlId::Check1, ControlKind::CheckBox, u"매시 정각마다 비프음 울리기(&B)", 240, 960, 2775, 255},
    {ControlId::Label2, ControlKind::Label, u"시계 모양 -", 240, 1665, 855, 255},
    {ControlId::Option1Square, ControlKind::OptionButton, u"사각형(&S)", 1200, 1680, 975, 195},
    {ControlId::Option1Circle, ControlKind::OptionButton, u"원형(&O)", 2160, 1680, 975, 195},
    {ControlId::Label7, ControlKind::Label, u"색(&C)", 240, 2010, 1335, 195},
    {ControlId::Combo2, ControlKind::Combo, u"", 600, 2290, 1215, 315},
    {ControlId::Shape1, ControlKind::Preview, u"", 240, 2305, 255, 255},
    {ControlId::Command1, ControlKind::PushButton, u"변경(&E)", 1920, 2290, 855, 305},
    {ControlId::Label8, ControlKind::Label, u"", 240, 2670, 2835, 255},
    {ControlId::Check2, ControlKind::CheckBox, u"시작프로그램으로 등록(&R)", 240, 1320, 2535, 255},
    {ControlId::Label3, ControlKind::Label, u"시각 듣기 단축키(&K)", 240, 3135, 1575, 255},
    {ControlId::HotKey1, ControlKind::HotKey, u"", 1845, 3090, 1110, 315},
    {ControlId::Label4, ControlKind::Label, u"", 240, 3435, 2835, 480},
    {ControlId::Check3, ControlKind::CheckBox, u"조용한 시간(&Q)", 240, 3930, 2535, 255},
    {ControlId::Label5, ControlKind::Label, u"부터(&F)", 2010, 4290, 765, 255},
    {ControlId::Combo3, ControlKind::List, u"", 480, 4245, 1455, 315},
    {ControlId::Label6, ControlKind::Label, u"까지(&U)", 2010, 4665, 765, 255},
    {ControlId::Combo4, ControlKind::List, u"", 480, 4620, 1455, 315},
    {ControlId::Check4, ControlKind::WrappedCheckBox, u"전체 화면이나 발표 중에는 알리지 않기(&P)", 240, 5025,
     2595, 510},
    {ControlId::Label9, ControlKind::Label, u"소리 크기(&V)", 240, 5670, 1095, 255},
    {ControlId::Slider1, ControlKind::Slider, u"", 1335, 5595, 1620, 420},
}};

// Label4, in two lines below the hot key when the system refuses one: the refused key
// (SpeakKeyText), then this: another program holds it.
inline constexpr std::u16string_view kSpeakKeyRefused = u" 키는 다른 프로그램이 쓰고 있습니다";
// Label8 while Windows' high-contrast mode is on and the face takes the system's colours.
inline constexpr std::u16string_view kHighContrastNote = u"고대비 모드에서는 시스템 색을 씁니다";

inline constexpr std::u16string_view kFrmSettingCaption = u"환경설정";

// Combo1: the announcement intervals in order of length. The Alarm values of the first five
// choices were once their places in the list, and are kept so that stored settings keep meaning
// what they did; the two shorter ones came later, with values of their own.
inline constexpr std::u16string_view kIntervalTexts[] = {u"사용안함", u"5분마다",  u"10분마다", u"15분마다",
                                                         u"20분마다", u"30분마다", u"1시간마다"};
inline constexpr std::span<const std::u16string_view> kIntervalEntries{kIntervalTexts};
// The Alarm value of each entry of Combo1, in list order.
inline constexpr std::int32_t kIntervalAlarms[] = {0, 5, 1, 6, 2, 3, 4};
// Combo2: which colour the preview shows and the change button edits.
inline constexpr std::array<std::u16string_view, 5> kColorTargetEntries{u"배경색", u"테두리색", u"시침색",
                                                                        u"분침색", u"초침색"};

// The Combo1 entry that shows a stored Alarm, or -1 (no selection) for a value with no entry:
// the program never writes one, but a hand-edited store can hold anything.
int IntervalIndexFromAlarm(std::int32_t alarm);
// The Alarm that Combo1's entry `index` stands for; none for no selection (-1) or any other index.
std::optional<std::int32_t> AlarmFromIntervalIndex(int index);

// Slider1 goes from silent to the sounds' own level in steps of this many percent.
inline constexpr int kVolumeStep = 10;
// The Volume that a slider position stands for (a drag can stop anywhere): the nearest step
// within 0..100, halves upwards.
std::int32_t VolumeFromSlider(int position);

// The setting that Combo2's entry `index` names, or null for no selection (-1) or any other
// index: BGColor, TColor, HColor, MColor, SColor in list order.
ColorValue* ColorTargetSetting(SettingsRecord& settings, int index);

// Where a window of `outer` pixels starts so that it sits in the middle of `screen` pixels:
// screen / 2 - outer / 2, rounded to the nearest pixel, halves to the even neighbour.
int CentredStart(int screen, int outer);
