#pragma once
// Design sizes of the two windows in pixels at 96 DPI. The windowing code scales every one of them
// (and every font height) by the screen's DPI, so at 96 DPI the windows are exactly these pixels.

#include <array>

namespace updater::app {

inline constexpr int kDesignDpi = 96;

// Design pixels at the given DPI, rounded to the nearest pixel.
constexpr int ScaleFromDesign(int pixels, int dpi) {
    const long long scaled = static_cast<long long>(pixels) * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + kDesignDpi / 2) / kDesignDpi
                                        : -((-scaled + kDesignDpi / 2) / kDesignDpi));
}

struct DesignRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// TfrmMainPatcher. Control positions are relative to the panel that holds them.
namespace main_window {

inline constexpr int kClientWidth = 505;
inline constexpr int kClientHeight = 355;

inline constexpr int kTopHeight = 53;     // pnlTop, white
inline constexpr int kBottomHeight = 37;  // pnlBottom
inline constexpr int kBottomBorder = 3;
inline constexpr int kIntroTop = kTopHeight;                                     // pnlIntro
inline constexpr int kIntroHeight = kClientHeight - kTopHeight - kBottomHeight;  // 265
inline constexpr int kIntroBorder = 12;

// On pnlBottom: Bevel1 inside the border, drawn as a single line along its top.
inline constexpr DesignRect kBevel{kBottomBorder, kBottomBorder, kClientWidth - 2 * kBottomBorder, 8};
inline constexpr DesignRect kUpdateButton{5, 10, 100, 25};    // btnUpdate
inline constexpr DesignRect kFinishButton{403, 10, 100, 25};  // btnZamknij

// On pnlTop.
inline constexpr DesignRect kTitleLabel{8, 8, 489, 15};   // lblTytul
inline constexpr DesignRect kVersionLabel{20, 28, 0, 0};  // lblKrok, sized to its text

// On pnlIntro.
inline constexpr DesignRect kMainLabel{kIntroBorder, kIntroBorder, kClientWidth - 2 * kIntroBorder, 217};  // lblMain
inline constexpr DesignRect kSpecialVersionLabel{12, 212, 0, 0};  // lblWersjaSpecjalna, sized to its text
inline constexpr DesignRect kLanguageLabel{12, 240, 0, 0};        // lblJezyk, sized to its text
// btnPolski, btnAngielski, btnNiemiecki, btnFrancuski, btnWloski as designed.
inline constexpr std::array<int, 5> kFlagLefts{200, 238, 276, 314, 352};
inline constexpr int kFlagTop = 236;
inline constexpr int kFlagWidth = 38;
inline constexpr int kFlagHeight = 24;
inline constexpr int kFlagImageWidth = 32;
inline constexpr int kFlagImageHeight = 18;

// Font heights (character height in pixels).
inline constexpr int kWindowFontHeight = 11;
inline constexpr int kTitleFontHeight = 12;  // lblTytul (bold) and lblKrok
inline constexpr int kLanguageFontHeight = 11;

inline constexpr int kTimerIntervalMs = 1000;  // TimerPostepProc

}  // namespace main_window

// TfrmPytanie.
namespace question_dialog {

inline constexpr int kLabelLeft = 16;
inline constexpr int kLabelTop = 16;
inline constexpr int kMaxLabelWidth = 400;
inline constexpr std::array<int, 3> kButtonWidths{97, 97, 97};  // btnTak, btnNie, btnAnuluj
inline constexpr int kButtonHeight = 23;
inline constexpr int kButtonGap = 8;
// Below the buttons: the design client height 124 less their top 95 and height 23.
inline constexpr int kBottomMargin = 6;
// Added under the label with the button height when the client height is computed.
inline constexpr int kButtonRowAllowance = 8;
inline constexpr int kFontHeight = 11;

}  // namespace question_dialog

}  // namespace updater::app
