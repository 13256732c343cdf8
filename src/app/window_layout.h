#pragma once
// Design sizes of the two windows in pixels at 96 DPI. The windowing code scales every one of them
// (and every font height) by the screen's DPI, so at 96 DPI the windows are exactly these pixels.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

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

// The language row at a DPI. lblJezyk keeps its design left and takes its text's width, which does
// not grow in step with the DPI (fonts do not scale linearly); the flags keep their design places
// unless the label would come closer than kLanguageGap to the first of them. Then they all move
// right by the same amount, so the label never runs into a flag and the flags keep their spacing.
inline constexpr int kLanguageGap = 2;
constexpr int FlagRowShift(int labelWidth, int dpi) {
    const int labelEnd = ScaleFromDesign(kLanguageLabel.left, dpi) + labelWidth + ScaleFromDesign(kLanguageGap, dpi);
    return std::max(0, labelEnd - ScaleFromDesign(kFlagLefts[0], dpi));
}
constexpr int FlagLeft(int designLeft, int labelWidth, int dpi) {
    return ScaleFromDesign(designLeft, dpi) + FlagRowShift(labelWidth, dpi);
}

// Flag images are drawn, not scaled, for these DPIs (resources/flags/make_flags.py): 32 by 18,
// 40 by 23, 48 by 27 and 64 by 36 pixels. Any other DPI shows the largest image that fits its
// button's inside, centred.
inline constexpr std::array<int, 4> kFlagImageDpis{96, 120, 144, 192};
constexpr std::size_t FlagImageFor(int dpi) {
    std::size_t chosen = 0;
    for (std::size_t i = 0; i < kFlagImageDpis.size(); ++i) {
        if (kFlagImageDpis[i] <= dpi) chosen = i;
    }
    return chosen;
}
// The pressed flag's frame, drawn along the button's edge in the highlight colour: two pixels up
// to 120 DPI, thicker above, always leaving a pixel for the focus rectangle outside the image.
constexpr int FlagFrameWidth(int dpi) {
    return std::max(2, 2 * dpi / kDesignDpi);
}

// A colour of the system's scheme, 8 bits a channel.
struct SchemeColour {
    int red = 0;
    int green = 0;
    int blue = 0;
};
// The contrast ratio of two colours as accessibility guidelines measure it: 1 for equal colours,
// 21 for black on white.
inline double ContrastRatio(SchemeColour a, SchemeColour b) {
    auto luminance = [](SchemeColour c) {
        auto linear = [](int channel) {
            const double v = channel / 255.0;
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.red) + 0.7152 * linear(c.green) + 0.0722 * linear(c.blue);
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
// Whether the pressed flag's frame takes the highlight colour: where it stands out from the button
// face by 3:1, as a state shown by colour alone must; else the button text colour, when that
// stands out more (some light schemes have a pale highlight).
inline bool FrameInHighlight(SchemeColour face, SchemeColour highlight, SchemeColour text) {
    const double withHighlight = ContrastRatio(face, highlight);
    return withHighlight >= 3.0 || withHighlight >= ContrastRatio(face, text);
}

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
