#include "app/question_layout.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "app_test_support.h"

namespace updater::app {
namespace {

const AskMetrics kDesign = AskMetrics::AtDpi(96);

TEST(AskPlan, OneLineOkMessageIsCentredUnderTheLabel) {
    const AskPlan plan = PlanAsk({150, 13}, 0, kDesign);
    EXPECT_EQ(plan.labelWidth, 150);
    EXPECT_EQ(plan.labelHeight, 13);
    EXPECT_EQ(plan.buttonLefts[0], 42);  // 16 + 53 / 2
    EXPECT_EQ(plan.buttonTop, 47);
    EXPECT_EQ(plan.client, (PixelSize{182, 76}));
    EXPECT_EQ(plan.client.height - plan.buttonTop - 23, 6);
}

TEST(AskPlan, ANarrowLabelIsWidenedToTheButtonRow) {
    const AskPlan plan = PlanAsk({60, 13}, 3, kDesign);
    EXPECT_EQ(plan.labelWidth, 307);
    EXPECT_THAT(plan.buttonLefts, ::testing::ElementsAre(16, 121, 226));
    EXPECT_EQ(plan.client.width, 339);

    EXPECT_EQ(PlanAsk({60, 13}, 1, kDesign).labelWidth, 202);
    EXPECT_EQ(PlanAsk({60, 13}, 2, kDesign).labelWidth, 202);
    EXPECT_EQ(PlanAsk({60, 13}, 0, kDesign).labelWidth, 97);
    EXPECT_EQ(PlanAsk({60, 13}, 0, kDesign).buttonLefts[0], 16);
}

TEST(AskPlan, KindsDecideButtonsCaptionsAndEscape) {
    struct Expect {
        std::uint8_t kind;
        bool no, cancel, ok, noAsCancel;
        std::optional<std::int32_t> escape;
    };
    const Expect table[] = {
        {0, false, false, true, false, std::nullopt},   {1, true, false, false, false, kResultNo},
        {2, true, false, true, true, kResultNo},        {3, true, true, false, false, kResultCancel},
        {4, false, false, true, false, std::nullopt},  // undefined kinds show a plain OK
        {255, false, false, true, false, std::nullopt},
    };
    for (const Expect& e : table) {
        const AskPlan plan = PlanAsk({100, 13}, e.kind, kDesign);
        EXPECT_EQ(plan.showNo, e.no) << int(e.kind);
        EXPECT_EQ(plan.showCancel, e.cancel) << int(e.kind);
        EXPECT_EQ(plan.yesSaysOk, e.ok) << int(e.kind);
        EXPECT_EQ(plan.noTakesCancelCaption, e.noAsCancel) << int(e.kind);
        EXPECT_EQ(plan.escapeResult, e.escape) << int(e.kind);
    }
}

TEST(AskPlan, OddWidthsRoundTowardZero) {
    // A 154-wide label leaves 57 around a 97 button: 28 on the left.
    EXPECT_EQ(PlanAsk({154, 13}, 0, kDesign).buttonLefts[0], 16 + 28);
    // Owners smaller than the dialog give negative halves, which also round toward zero.
    EXPECT_EQ(CentreOver({100, 100, 500, 380}, {182, 100}), (std::array<int, 2>{259, 240}));
    EXPECT_EQ(CentreOver({0, 0, 100, 100}, {203, 101}), (std::array<int, 2>{-51, 0}));
}

TEST(AskMetrics, AreTheDesignSizesAt96DpiAndScaleWithIt) {
    EXPECT_EQ(kDesign.labelLeft, 16);
    EXPECT_EQ(kDesign.maxLabelWidth, 400);
    EXPECT_EQ(kDesign.buttonWidths[2], 97);
    EXPECT_EQ(kDesign.buttonHeight, 23);
    EXPECT_EQ(kDesign.bottomMargin, 6);
    const AskMetrics large = AskMetrics::AtDpi(144);
    EXPECT_EQ(large.labelLeft, 24);
    EXPECT_EQ(large.maxLabelWidth, 600);
    EXPECT_EQ(large.buttonWidths[0], 146);  // 145.5 rounds up
    EXPECT_EQ(large.buttonHeight, 35);      // 34.5 rounds up
    const AskPlan plan = PlanAsk({150, 20}, 0, large);
    EXPECT_EQ(plan.client.height - plan.buttonTop - large.buttonHeight, large.bottomMargin);
    EXPECT_EQ(large.bottomMargin, 9);
}

// Every character 6 pixels wide, lines 13 high; wrapping breaks at spaces.
class FixedWidthMeasure : public TextMeasure {
  public:
    PixelSize Measure(std::u16string_view text, std::optional<int> wrapWidth) const override {
        constexpr auto npos = std::u16string_view::npos;
        int lines = 1;
        int widest = 0;
        int current = 0;  // the width of the line being filled
        bool lineStart = true;
        for (std::size_t pos = 0;;) {
            const std::size_t end = text.find_first_of(u" \n", pos);
            const int word = 6 * static_cast<int>((end == npos ? text.size() : end) - pos);
            const int with = lineStart ? word : current + 6 + word;
            if (!lineStart && wrapWidth && with > *wrapWidth) {
                ++lines;  // the word starts the next line
                current = word;
            } else {
                current = with;
            }
            lineStart = false;
            widest = std::max(widest, current);
            if (end == npos) break;
            if (text[end] == u'\n') {
                ++lines;
                current = 0;
                lineStart = true;
            }
            pos = end + 1;
        }
        return {widest, lines * 13};
    }
};

TEST(FitQuestionLabel, TakesTheLongestLineUpTo400ThenWraps) {
    FixedWidthMeasure measure;
    EXPECT_EQ(FitQuestionLabel(u"short\nlonger line", 400, measure), (PixelSize{66, 26}));

    // 100 characters on one line (600 pixels) wrap within 400 and grow in height.
    std::u16string longLine;
    for (int i = 0; i < 20; ++i)
        longLine += u"word ";
    longLine.pop_back();
    const PixelSize fitted = FitQuestionLabel(longLine, 400, measure);
    EXPECT_LE(fitted.width, 400);
    EXPECT_EQ(fitted.height, 26);
    EXPECT_EQ(fitted.width, 64 * 6);  // 13 words and their 12 blanks fit on the first line

    // An empty message keeps one line's height.
    EXPECT_EQ(FitQuestionLabel(u"", 400, measure), (PixelSize{6, 13}));
}

TEST(QuestionTexts, CaptionIsForcedIntoTheLanguagesCodePage) {
    test::FakeTexts services;
    const QuestionTexts english = ComposeQuestionTexts(kEnglish, services);
    EXPECT_EQ(english.caption, u"Attention");
    EXPECT_EQ(english.yes, u"Yes");
    EXPECT_EQ(english.no, u"No");
    EXPECT_EQ(english.cancel, u"Cancel");
    EXPECT_THAT(services.forcedLookups, ::testing::ElementsAre(true, false, false, false));
    EXPECT_EQ(ComposeQuestionTexts(kPolish, services).cancel, u"Anuluj");
}

}  // namespace
}  // namespace updater::app
