#include "app/question_layout.h"

#include <algorithm>

#include "app/catalogue_texts.h"
#include "app/text_ids.h"
#include "app/window_layout.h"

namespace updater::app {

AskMetrics AskMetrics::AtDpi(int dpi) {
    namespace q = question_dialog;
    AskMetrics m;
    m.labelLeft = ScaleFromDesign(q::kLabelLeft, dpi);
    m.labelTop = ScaleFromDesign(q::kLabelTop, dpi);
    m.maxLabelWidth = ScaleFromDesign(q::kMaxLabelWidth, dpi);
    for (std::size_t i = 0; i < m.buttonWidths.size(); ++i)
        m.buttonWidths[i] = ScaleFromDesign(q::kButtonWidths[i], dpi);
    m.buttonHeight = ScaleFromDesign(q::kButtonHeight, dpi);
    m.buttonGap = ScaleFromDesign(q::kButtonGap, dpi);
    m.bottomMargin = ScaleFromDesign(q::kBottomMargin, dpi);
    m.buttonRowAllowance = ScaleFromDesign(q::kButtonRowAllowance, dpi);
    return m;
}

PixelSize FitQuestionLabel(std::u16string_view message, int maxLabelWidth, const TextMeasure& measure) {
    // An empty label still keeps the height of one line, as a label with a blank does.
    const std::u16string_view text = message.empty() ? std::u16string_view(u" ") : message;
    const PixelSize natural = measure.Measure(text, std::nullopt);
    const int width = std::min(natural.width, maxLabelWidth);
    return measure.Measure(text, width);
}

AskPlan PlanAsk(PixelSize fittedLabel, std::uint8_t kind, const AskMetrics& m) {
    if (kind > 3) kind = 0;
    AskPlan plan;
    plan.showNo = kind >= 1;
    plan.showCancel = kind == 3;
    plan.yesSaysOk = kind == 0 || kind == 2;
    plan.noTakesCancelCaption = kind == 2;
    if (kind == 1 || kind == 2) plan.escapeResult = kResultNo;
    if (kind == 3) plan.escapeResult = kResultCancel;

    const int buttonCount = kind == 0 ? 1 : kind == 3 ? 3 : 2;
    int rowWidth = 0;
    for (int i = 0; i < buttonCount; ++i)
        rowWidth += m.buttonWidths[i] + (i > 0 ? m.buttonGap : 0);

    plan.labelWidth = std::max(fittedLabel.width, rowWidth);
    plan.labelHeight = fittedLabel.height;

    // Integer division rounds toward zero, as the centring asks.
    int left = m.labelLeft + (plan.labelWidth - rowWidth) / 2;
    for (std::size_t i = 0; i < plan.buttonLefts.size(); ++i) {
        plan.buttonLefts[i] = left;
        left += m.buttonWidths[i] + m.buttonGap;
    }

    plan.client.width = 2 * m.labelLeft + plan.labelWidth;
    plan.client.height = 2 * m.labelTop + plan.labelHeight + m.buttonHeight + m.buttonRowAllowance;
    plan.buttonTop = plan.client.height - m.bottomMargin - m.buttonHeight;
    return plan;
}

std::array<int, 2> CentreOver(const PixelRect& owner, PixelSize dialog) {
    return {owner.left + (owner.width - dialog.width) / 2, owner.top + (owner.height - dialog.height) / 2};
}

QuestionTexts ComposeQuestionTexts(Language language, const TextLookup& texts) {
    return {texts.Text(language, kTextQuestionCaption, true), texts.Text(language, kTextYes, false),
            texts.Text(language, kTextNo, false), texts.Text(language, kTextCancel, false)};
}

}  // namespace updater::app
