#include "app_test_support.h"

#include "app/text_ids.h"

namespace updater::app::test {

std::string Utf8(std::u16string_view s) {
    std::string out;
    for (char16_t c : s)
        out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

FakeTexts::FakeTexts() {
    const std::pair<std::int32_t, std::pair<std::u16string, std::u16string>> rows[] = {
        {kTextCancel, {u"Anuluj", u"Cancel"}},
        {kTextFinish, {u"Zakończ", u"Finish"}},
        {kTextQuestionCaption, {u"Uwaga", u"Attention"}},
        {kTextYes, {u"Tak", u"Yes"}},
        {kTextNo, {u"Nie", u"No"}},
        {kTextTitle, {u"%s - Uaktualnienie", u"%s - Update"}},
        {kTextVersion, {u"Wersja %s", u"Version %s"}},
        {kTextUpdate, {u"Uaktualnij", u"Update"}},
        {kTextOpenDialogTitle, {u"Wska\u017C program", u"Choose the program"}},
        {kTextIntroduction,
         {u"Ten program uaktualni \"%s\" do wersji %s.\r\n\r\n",
          u"This program will update ′%s′ to version %s.\r\n\r\n"}},
        {kTextSucceeded, {u"Aktualizacja została zakończona pomyślnie.", u"Update has finished successfully."}},
        {kTextFailed, {u"Podczas aktualizacji wystąpiły błędy.", u"Some errors occurred during update."}},
    };
    for (const auto& [id, pair] : rows) {
        texts[{kPolish, id}] = pair.first;
        texts[{kEnglish, id}] = pair.second;
    }
    texts[{kGerman, kTextTitle}] = u"Update - %s";
    texts[{kGerman, kTextFinish}] = u"Beenden";
}

std::u16string FakeTexts::Text(Language language, std::int32_t id, bool forceTextCodePage) const {
    forcedLookups.push_back(forceTextCodePage);
    auto it = texts.find({language, id});
    return it == texts.end() ? std::u16string() : it->second;
}

}  // namespace updater::app::test
