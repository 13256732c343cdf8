#include "app/main_patcher.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <vector>

#include "app/this_build.h"
#include "app/window_layout.h"
#include "app_test_support.h"
#include "environment/kod.h"

namespace updater::app {
namespace {

using test::FakeTexts;
using test::NoMessages;
using test::ScriptedEngine;
using ::testing::ElementsAre;

// Records what the window was told, in order, and keeps the resulting state of every control.
class RecordingControls : public test::RecordingViewOf<MainWindowControls> {
  public:
    void SetMainText(std::u16string_view text) override {
        RecordingViewOf::SetMainText(text);
        log.push_back("main");
    }
    void SetText(MainCaption control, std::u16string_view text) override {
        texts[control] = text;
        log.push_back("text" + std::to_string(static_cast<int>(control)));
    }
    void PlaceFlag(Flag flag, bool offered, int designLeft) override { flags[Index(flag)] = {offered, designLeft}; }
    void SetFlagPressed(Flag flag, bool pressed) override {
        this->pressed[Index(flag)] = pressed;
        log.push_back("flag");
    }
    bool FlagPressed(Flag flag) const override { return pressed[Index(flag)]; }
    void ApplyFont(MainFont font, Language language) override {
        fonts[static_cast<std::size_t>(font)] = language;
        log.push_back("font");
    }
    void SetQuestionLanguage(Language language) override {
        questionLanguage = language;
        log.push_back("question");
    }
    void Close() override { closed = true; }

    std::map<MainCaption, std::u16string> texts;
    std::array<Language, 5> fonts{};  // the language of each MainFont
    FlagPlacements flags{};
    FlagStates pressed{};
    int questionLanguage = -1;
    bool closed = false;
    std::vector<std::string> log;
};

// A special-version text as a declaration carries it: scrambled for the product (mode 6).
std::string ScrambledSpecialVersion(std::int32_t appId) {
    return environment::SharedKod().Encode("Wersja dla szk\xf3\xb3", appId, 6, false);
}

struct Window {
    explicit Window(std::int32_t appId = kBuildAppId) {
        NoMessages messages;
        ConfigureThisBuild(config, messages);
        if (appId != kBuildAppId) config.SetAppIdentity(appId, 1, 0, 0, messages);
        patcher.FormCreate();
    }
    // What a user does: toggles the flag as the group does, then the shared click handler runs.
    void Click(Flag flag) {
        const FlagStates after = ClickFlag(controls.pressed, flag);
        for (Flag f : kFlags)
            controls.SetFlagPressed(f, after[Index(f)]);
        controls.log.clear();
        patcher.btnPolskiClick();
    }

    AppConfiguration config;
    FakeTexts services;
    RecordingControls controls;
    ScriptedEngine engine;
    MainPatcher patcher{config, services, controls, engine};
};

TEST(FlagChoice, OffersPolishAndTheProductsLanguageNextToIt) {
    struct Case {
        Language product;
        std::array<bool, kFlagCount> offered;
        std::array<int, kFlagCount> lefts;
    };
    const Case cases[] = {
        {kEnglish, {true, true, false, false, false}, {200, 238, 276, 314, 352}},
        {kGerman, {true, false, true, false, false}, {200, 238, 238, 314, 352}},
        {kFrench, {true, false, false, true, false}, {200, 238, 276, 238, 352}},
        {kItalian, {true, false, false, false, true}, {200, 238, 276, 314, 238}},
        {kPolish, {true, false, false, false, false}, {200, 238, 276, 314, 352}},
        {kSpanish, {true, false, false, false, false}, {200, 238, 276, 314, 352}},
        {kRussian, {true, false, false, false, false}, {200, 238, 276, 314, 352}},
    };
    for (const Case& c : cases) {
        const FlagPlacements placements = PlaceFlags(c.product);
        for (Flag flag : kFlags) {
            EXPECT_EQ(placements[Index(flag)].offered, c.offered[Index(flag)])
                << "product " << int(c.product) << " flag " << Index(flag);
            EXPECT_EQ(placements[Index(flag)].left, c.lefts[Index(flag)])
                << "product " << int(c.product) << " flag " << Index(flag);
        }
    }
    EXPECT_TRUE(HidesEnglishFlag(4));
    EXPECT_TRUE(HidesEnglishFlag(5));
    EXPECT_FALSE(HidesEnglishFlag(15));
    EXPECT_FALSE(HidesEnglishFlag(6));
}

TEST(FlagChoice, OneGroupWithAtMostOneFlagDownAndAllUpAllowed) {
    FlagStates pressed = PressedFlags(kPolish);
    EXPECT_THAT(pressed, ElementsAre(true, false, false, false, false));

    pressed = ClickFlag(pressed, Flag::kAngielski);
    EXPECT_THAT(pressed, ElementsAre(false, true, false, false, false));
    EXPECT_EQ(LanguageOfPressedFlags(pressed), kEnglish);

    pressed = ClickFlag(pressed, Flag::kAngielski);
    EXPECT_THAT(pressed, ElementsAre(false, false, false, false, false));
    EXPECT_EQ(LanguageOfPressedFlags(pressed), std::nullopt);

    // Codes run Polish, English, French, German, Italian; the buttons do not.
    EXPECT_EQ(LanguageOfPressedFlags(PressedFlags(kFrench)), kFrench);
    EXPECT_EQ(LanguageOfPressedFlags(PressedFlags(kGerman)), kGerman);
    EXPECT_EQ(LanguageOfPressedFlags(PressedFlags(kItalian)), kItalian);
    EXPECT_EQ(LanguageOfPressedFlags({false, false, true, true, false}), kGerman);  // declaration order decides
    for (Language none : {kSpanish, kRussian, kHungarian}) {
        EXPECT_THAT(PressedFlags(none), ElementsAre(false, false, false, false, false));
    }
}

TEST(FlagChoice, KeysOnAFocusedFlagAndTheGroupsOneTabStop) {
    const FlagStates polish = PressedFlags(kPolish);
    EXPECT_THAT(PressFlagByKey(polish, Flag::kAngielski, FlagKey::kSpace),
                ElementsAre(false, true, false, false, false));
    EXPECT_THAT(PressFlagByKey(polish, Flag::kAngielski, FlagKey::kEnter),
                ElementsAre(false, true, false, false, false));
    // Space on the pressed flag releases it, as a click does; Enter keeps the chosen language.
    EXPECT_THAT(PressFlagByKey(polish, Flag::kPolski, FlagKey::kSpace), ElementsAre(false, false, false, false, false));
    EXPECT_EQ(PressFlagByKey(polish, Flag::kPolski, FlagKey::kEnter), polish);

    const std::array<bool, kFlagCount> polishAndGerman{true, false, true, false, false};
    EXPECT_EQ(TabStopFlag(PressedFlags(kGerman), polishAndGerman), Flag::kNiemiecki);
    EXPECT_EQ(TabStopFlag(FlagStates{}, polishAndGerman), Flag::kPolski);
    // A pressed flag that is not offered (English under patch kind 4) is no stop.
    EXPECT_EQ(TabStopFlag(PressedFlags(kEnglish), {true, false, false, false, false}), Flag::kPolski);
    EXPECT_EQ(TabStopFlag(polish, {}), std::nullopt);
}

TEST(FlagChoice, TheLanguageLabelNeverRunsIntoTheFlagsAtAnyDpi) {
    namespace layout = main_window;
    for (int dpi : {96, 120, 144, 192}) {
        const int designFlag = ScaleFromDesign(layout::kFlagLefts[0], dpi);
        const int labelLeft = ScaleFromDesign(layout::kLanguageLabel.left, dpi);
        const int gap = ScaleFromDesign(layout::kLanguageGap, dpi);
        for (int labelWidth : {0, designFlag - labelLeft - gap, designFlag - labelLeft, designFlag}) {
            const int first = layout::FlagLeft(layout::kFlagLefts[0], labelWidth, dpi);
            EXPECT_GE(first, labelLeft + labelWidth + gap) << dpi << " DPI, label " << labelWidth;
            EXPECT_GE(first, designFlag) << "flags never move left";
            // The row moves as one: the flags keep their spacing.
            EXPECT_EQ(layout::FlagLeft(layout::kFlagLefts[1], labelWidth, dpi) - first,
                      ScaleFromDesign(layout::kFlagLefts[1], dpi) - designFlag);
        }
        // A label that ends clear of the flags leaves them where they were designed.
        EXPECT_EQ(layout::FlagLeft(layout::kFlagLefts[0], designFlag - labelLeft - gap, dpi), designFlag);

        // The image drawn for this DPI, the pressed frame and a focus line fit inside the button.
        const int image = static_cast<int>(layout::FlagImageFor(dpi));
        EXPECT_EQ(layout::kFlagImageDpis[static_cast<std::size_t>(image)], dpi);
        const int imageHeight = ScaleFromDesign(layout::kFlagImageHeight, dpi);
        const int imageWidth = ScaleFromDesign(layout::kFlagImageWidth, dpi);
        const int margin = std::min(ScaleFromDesign(layout::kFlagHeight, dpi) - imageHeight,
                                    ScaleFromDesign(layout::kFlagWidth, dpi) - imageWidth) /
                           2;
        EXPECT_GE(margin, layout::FlagFrameWidth(dpi) + 1) << dpi << " DPI";
    }
    // The pressed frame stands out from the face by 3:1 in the usual, the pale and the dark scheme.
    const layout::SchemeColour face{240, 240, 240}, paleFace{245, 245, 245}, black{0, 0, 0}, white{255, 255, 255};
    EXPECT_NEAR(layout::ContrastRatio(black, white), 21.0, 1e-9);
    EXPECT_TRUE(layout::FrameInHighlight(face, {0, 120, 215}, black));        // 4.1:1
    EXPECT_FALSE(layout::FrameInHighlight(paleFace, {48, 150, 250}, black));  // 2.8:1: the text colour
    EXPECT_TRUE(layout::FrameInHighlight(black, {26, 235, 255}, white));      // high contrast, dark
    EXPECT_TRUE(layout::FrameInHighlight(white, {55, 0, 110}, black));        // high contrast, light
    // Between the drawn sizes the smaller image is shown, never a stretched one.
    EXPECT_EQ(layout::FlagImageFor(72), 0u);
    EXPECT_EQ(layout::FlagImageFor(168), 2u);
    EXPECT_EQ(layout::FlagImageFor(288), 3u);
}

TEST(MainPatcher, ThisBuildOpensInPolishWithThePolishAndEnglishFlags) {
    for (Language detected : {kPolish, kGerman, kFrench, kSpanish}) {
        Window w;
        w.patcher.FormShow(detected);
        EXPECT_EQ(w.patcher.State().uiLanguage, kPolish) << int(detected);
        EXPECT_TRUE(w.controls.flags[Index(Flag::kPolski)].offered);
        EXPECT_TRUE(w.controls.flags[Index(Flag::kAngielski)].offered);
        EXPECT_FALSE(w.controls.flags[Index(Flag::kNiemiecki)].offered);
        EXPECT_THAT(w.controls.pressed, ElementsAre(true, false, false, false, false));
        EXPECT_EQ(w.controls.texts[MainCaption::kCaption], u"Lexivo Angielskiego 2.5 - Uaktualnienie");
        EXPECT_EQ(w.controls.texts[MainCaption::kTitle], u"Lexivo Angielskiego 2.5 - Uaktualnienie");
        EXPECT_EQ(w.controls.texts[MainCaption::kVersion], u"Wersja 2.5.1");
        EXPECT_EQ(w.controls.texts[MainCaption::kUpdateButton], u"Uaktualnij");
        EXPECT_EQ(w.controls.texts[MainCaption::kFinishButton], u"Zakończ");
        EXPECT_EQ(w.controls.texts[MainCaption::kOpenDialogTitle], u"Wska\u017C program");
        EXPECT_EQ(w.controls.main, u"Ten program uaktualni \"Lexivo Angielskiego 2.5\" do wersji 2.5.1.\r\n\r\n");
        EXPECT_EQ(w.controls.questionLanguage, kPolish);
        EXPECT_EQ(w.controls.texts.count(MainCaption::kSpecialVersion), 0u);
    }
}

TEST(MainPatcher, AGermanProductOnAGermanSystemOpensInGerman) {
    Window w(4);
    w.patcher.FormShow(kGerman);
    EXPECT_EQ(w.patcher.State().uiLanguage, kGerman);
    EXPECT_TRUE(w.controls.flags[Index(Flag::kNiemiecki)].offered);
    EXPECT_FALSE(w.controls.flags[Index(Flag::kAngielski)].offered);
    EXPECT_THAT(w.controls.pressed, ElementsAre(false, false, true, false, false));
    EXPECT_EQ(w.controls.texts[MainCaption::kCaption], u"Update - Lexivo Angielskiego 2.5");
}

TEST(MainPatcher, APatchKindThatHidesTheEnglishFlagHidesIt) {
    Window w;
    w.config.patchKind = 4;
    w.patcher.FormShow(kPolish);
    EXPECT_TRUE(w.controls.flags[Index(Flag::kPolski)].offered);
    EXPECT_FALSE(w.controls.flags[Index(Flag::kAngielski)].offered);
}

TEST(MainPatcher, TheSpecialVersionLabelIsDecodedOnlyWhenSwitchedOn) {
    Window off;
    off.config.settings.specialVersionText = "xyz";
    off.patcher.FormShow(kPolish);
    EXPECT_EQ(off.controls.texts.count(MainCaption::kSpecialVersion), 0u);

    Window on;
    on.config.settings.specialVersion = true;
    on.config.settings.specialVersionText = ScrambledSpecialVersion(on.config.appId);
    on.patcher.FormShow(kPolish);
    EXPECT_EQ(on.controls.texts[MainCaption::kSpecialVersion], u"Wersja dla szkół");
}

// A language change gives every control its language's text and character set, except the title
// and the language row, which stay Central European, and leaves the special version label alone.
TEST(MainPatcher, TheEnglishFlagSwitchesEveryCaptionFontAndTheQuestionDialog) {
    Window w;
    w.config.settings.specialVersion = true;
    w.config.settings.specialVersionText = ScrambledSpecialVersion(w.config.appId);
    w.patcher.FormShow(kPolish);
    const auto polish = w.controls.texts;
    w.Click(Flag::kAngielski);
    EXPECT_EQ(w.patcher.State().uiLanguage, kEnglish);
    EXPECT_EQ(w.controls.questionLanguage, kEnglish);
    EXPECT_THAT(w.controls.fonts, ElementsAre(kEnglish, kPolish, kEnglish, kEnglish, kPolish));
    EXPECT_EQ(w.controls.texts[MainCaption::kCaption], u"Lexivo Angielskiego 2.5 - Update");
    EXPECT_EQ(w.controls.texts[MainCaption::kVersion], u"Version 2.5.1");
    EXPECT_EQ(w.controls.texts[MainCaption::kUpdateButton], u"Update");
    EXPECT_EQ(w.controls.texts[MainCaption::kFinishButton], u"Finish");
    EXPECT_NE(w.controls.texts[MainCaption::kOpenDialogTitle], polish.at(MainCaption::kOpenDialogTitle));
    EXPECT_EQ(w.controls.texts[MainCaption::kSpecialVersion], u"Wersja dla szkół");
    EXPECT_EQ(w.controls.main, u"This program will update ′Lexivo Angielskiego 2.5′ to version 2.5.1.\r\n\r\n");

    w.Click(Flag::kPolski);
    EXPECT_THAT(w.controls.fonts, ElementsAre(kPolish, kPolish, kPolish, kPolish, kPolish));
    EXPECT_EQ(w.controls.texts, polish);
    EXPECT_EQ(w.controls.questionLanguage, kPolish);
}

TEST(MainPatcher, ReleasingThePressedFlagChangesNothing) {
    Window w;
    w.patcher.FormShow(kPolish);
    const auto textsBefore = w.controls.texts;
    w.Click(Flag::kPolski);
    EXPECT_TRUE(w.controls.log.empty());
    EXPECT_EQ(w.controls.texts, textsBefore);
    EXPECT_EQ(w.patcher.State().uiLanguage, kPolish);
}

TEST(MainPatcher, AfterARunTheLanguageSwitchShowsItsOutcome) {
    for (bool succeeded : {true, false}) {
        Window w;
        w.patcher.FormShow(kPolish);
        w.patcher.State().finished = true;
        w.patcher.State().succeeded = succeeded;
        w.Click(Flag::kAngielski);
        EXPECT_EQ(w.controls.main,
                  succeeded ? u"Update has finished successfully." : u"Some errors occurred during update.");
    }
}

// The update button runs the update on the window's state and controls, in the chosen language.
TEST(MainPatcher, UpdateClickRunsTheUpdateOnTheWindow) {
    Window w;
    w.patcher.FormShow(kPolish);
    w.Click(Flag::kAngielski);
    std::u16string duringTheRun;
    w.engine.duringLookup = [&] { duringTheRun = w.controls.main; };
    w.patcher.btnUpdateClick();
    EXPECT_EQ(w.engine.lookups, 1);
    EXPECT_EQ(duringTheRun, u"This program will update ′Lexivo Angielskiego 2.5′ to version 2.5.1.\r\n\r\n");
    // No install folder: the run fails, and the window's state says so.
    EXPECT_TRUE(w.patcher.State().finished);
    EXPECT_FALSE(w.patcher.State().succeeded);
    EXPECT_EQ(w.controls.main, u"Some errors occurred during update.");
}

TEST(MainPatcher, TimerShowsBaseTextAndPercentage) {
    Window w;
    w.patcher.State().progressBaseText = u"Trwa aktualizacja pliku \"slownik.dat\" ... ";
    w.patcher.State().progressPercent = 42;
    w.patcher.TimerPostepProcTimer();
    EXPECT_EQ(w.controls.main, u"Trwa aktualizacja pliku \"slownik.dat\" ... 42%");
    EXPECT_EQ(ProgressCaption(u"", -5), u"-5%");
}

TEST(MainPatcher, FinishClosesTheWindow) {
    Window w;
    w.patcher.FormShow(kPolish);
    EXPECT_FALSE(w.controls.closed);
    w.patcher.btnZamknijClick();
    EXPECT_TRUE(w.controls.closed);
}

}  // namespace
}  // namespace updater::app
