#include "app/catalogue_texts.h"

#include <gtest/gtest.h>

#include "app/main_patcher.h"
#include "app/question_layout.h"
#include "environment/kod.h"

namespace updater::app {
namespace {

// The window's captions from the real catalogue, on an NT-class system whose language (and so
// code page) is Western: composed in UTF-16, the Polish letters come through untouched.
TEST(CatalogueTexts, PolishCaptionsKeepTheirLettersOnAWesternSystem) {
    const CatalogueTexts texts(localisation::Platform{true, kFrench});
    MainWindowState state;
    const MainWindowTexts polish = ComposeMainWindowTexts(kPolish, state, 34, texts);
    EXPECT_EQ(polish.caption, u"Lexivo Angielskiego 2.5 - Uaktualnienie");
    EXPECT_EQ(polish.version, u"Wersja 2.5.1");
    EXPECT_EQ(polish.finish, u"Zakończ");
    EXPECT_EQ(polish.openDialogTitle, u"");
    EXPECT_EQ(polish.main,
              u"Ten program uaktualni \"Lexivo Angielskiego 2.5\" do wersji 2.5.1. Jeżeli Quillex jest "
              u"uruchomiony, należy go zamknąć przed dokonaniem aktualizacji.\r\n\r\n"
              u"Naciśnij przycisk \"Uaktualnij\" aby kontynuować.\r\n\r\n");

    state.finished = true;
    state.succeeded = false;
    EXPECT_EQ(ComposeMainWindowTexts(kPolish, state, 34, texts).main.rfind(u"Podczas aktualizacji wystąpiły błędy.", 0),
              0u);
}

TEST(CatalogueTexts, EnglishCaptionsAndTheDialogsOwn) {
    const CatalogueTexts texts(localisation::Platform{true, kPolish});
    const MainWindowTexts english = ComposeMainWindowTexts(kEnglish, MainWindowState{}, 34, texts);
    EXPECT_EQ(english.caption, u"Lexivo Angielskiego 2.5 - Update");
    EXPECT_EQ(english.version, u"Version 2.5.1");
    EXPECT_EQ(english.update, u"Update");
    EXPECT_EQ(english.finish, u"Finish");
    // The catalogue turns apostrophes into primes.
    EXPECT_EQ(english.main.rfind(u"This program will update ′Lexivo Angielskiego 2.5′ to version 2.5.1.", 0), 0u);

    const QuestionTexts dialog = ComposeQuestionTexts(kEnglish, texts);
    EXPECT_EQ(dialog.caption, u"Attention");
    EXPECT_EQ(dialog.yes, u"Yes");
    EXPECT_EQ(dialog.no, u"No");
    EXPECT_EQ(dialog.cancel, u"Cancel");
}

TEST(CatalogueTexts, ThisBuildStartsInPolishWhateverTheSystemSays) {
    AppConfiguration config;
    config.productLanguage = kEnglish;
    for (Language detected : {kPolish, kFrench, kGerman, kItalian, kSpanish, kRussian}) {
        EXPECT_EQ(localisation::StartLanguage(detected, config.productLanguage, config.settings.preferProductLanguage,
                                              config.defaultUiLanguage),
                  kPolish)
            << int(detected);
    }
    EXPECT_EQ(SpecialVersionText("", 6), u"");
    // The special-version label: scrambled with mode 6, read as the product's Polish text.
    const std::string scrambled = environment::SharedKod().Encode("Wersja dla szk\xf3\xb3", 6, 6, false);
    EXPECT_EQ(SpecialVersionText(scrambled, 6), u"Wersja dla szkół");
}

}  // namespace
}  // namespace updater::app
