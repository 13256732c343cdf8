#pragma once
// TfrmPytanie's decisions: which buttons a kind shows and with which captions, how large the
// dialog becomes around a measured message, and where it stands over its owner. The windowing code
// measures the text and moves the windows; everything else is decided here.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/product_identity.h"

namespace updater::app {

class TextLookup;

// The modal results of the three buttons.
inline constexpr std::int32_t kResultYes = 6;     // btnTak
inline constexpr std::int32_t kResultNo = 7;      // btnNie
inline constexpr std::int32_t kResultCancel = 2;  // btnAnuluj

struct PixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize&) const = default;
};

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The dialog's sizes at the screen's DPI (the design sizes at 96 DPI).
struct AskMetrics {
    int labelLeft = 0;
    int labelTop = 0;
    int maxLabelWidth = 0;
    std::array<int, 3> buttonWidths{};
    int buttonHeight = 0;
    int buttonGap = 0;
    int bottomMargin = 0;
    int buttonRowAllowance = 0;

    static AskMetrics AtDpi(int dpi);
};

// Measures text in the dialog's font: without wrapping when wrapWidth is empty (each line as long
// as it is), else wrapped at word boundaries within wrapWidth. Gives the width of the widest line
// and the height of all lines.
class TextMeasure {
  public:
    virtual ~TextMeasure() = default;
    virtual PixelSize Measure(std::u16string_view text, std::optional<int> wrapWidth) const = 0;
};

// The label fitted to a message: as wide as its longest line but at most maxLabelWidth, then
// wrapped within that width (height of the wrapped text, width of its widest wrapped line).
PixelSize FitQuestionLabel(std::u16string_view message, int maxLabelWidth, const TextMeasure& measure);

struct AskPlan {
    int labelWidth = 0;
    int labelHeight = 0;
    std::array<int, 3> buttonLefts{};
    int buttonTop = 0;
    bool showNo = false;                       // btnNie shown and enabled
    bool showCancel = false;                   // btnAnuluj shown and enabled
    bool yesSaysOk = false;                    // btnTak captioned "OK"
    bool noTakesCancelCaption = false;         // btnNie captioned as btnAnuluj
    std::optional<std::int32_t> escapeResult;  // the result Esc gives; none: Esc does nothing
    PixelSize client;
};

// Kinds: 0 "OK"; 1 yes, no; 2 "OK", cancel (result 7); 3 yes, no, cancel. An undefined kind is
// shown as kind 0, the one that cannot be mistaken for a choice.
AskPlan PlanAsk(PixelSize fittedLabel, std::uint8_t kind, const AskMetrics& metrics);

// Top-left corner that centres a window of the given outer size over the owner's outer rectangle;
// the divisions round toward zero.
std::array<int, 2> CentreOver(const PixelRect& owner, PixelSize dialog);

// Captions SetLanguage gives the dialog: caption 181 (in the language's own code page), buttons
// 182, 183 and 6.
struct QuestionTexts {
    std::u16string caption;
    std::u16string yes;
    std::u16string no;
    std::u16string cancel;
};
QuestionTexts ComposeQuestionTexts(Language language, const TextLookup& texts);

inline constexpr std::u16string_view kOkCaption = u"OK";

}  // namespace updater::app
