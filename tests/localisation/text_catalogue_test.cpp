#include "localisation/text_catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace updater::localisation {
namespace {

constexpr Platform kNT{true, 0};

// The ids the update program shows.
const std::set<int> kUsedIds = {6,   7,   181, 182, 183, 261, 262, 263, 264, 265, 266, 267, 268,
                                269, 270, 271, 272, 273, 274, 275, 276, 277, 278, 279, 280};

bool AnyColumn(int id) {
    for (std::uint8_t column = 0; column < 7; ++column) {
        if (!StoredText(id, column).empty()) return true;
    }
    return false;
}

// An expected text as GetText returns it on an NT-class platform: apostrophes come out as primes.
std::u16string AsShown(std::u16string text) {
    std::replace(text.begin(), text.end(), u'\'', u'\u2032');
    return text;
}

TEST(TextCatalogue, HasTextFor120Ids) {
    int withText = 0;
    for (int id = kFirstTextId; id <= kLastTextId; ++id)
        withText += AnyColumn(id) ? 1 : 0;
    EXPECT_EQ(withText, 120);
    for (int id : {262, 265, 266, 269, 270, 275})
        EXPECT_FALSE(AnyColumn(id)) << id;
}

TEST(TextCatalogue, OutsideTheRangeIsEmpty) {
    EXPECT_EQ(GetText(0, 321, false, kNT), u"");
    EXPECT_EQ(GetText(0, 0, false, kNT), u"");
    EXPECT_EQ(GetText(1, -7, false, kNT), u"");
    EXPECT_EQ(GetText(1, INT32_MIN, false, kNT), u"");
    EXPECT_EQ(GetText(1, INT32_MAX, false, kNT), u"");
    EXPECT_EQ(GetText(3, 269, false, kNT), u"");
    EXPECT_EQ(StoredText(7, 7), "");
}

// The texts the update program shows, in every language, as they must appear.
TEST(TextCatalogue, UsedTextsReadExactlyAsWritten) {
    const struct {
        int id;
        const char16_t* texts[6];  // pl, en, fr, de, it, es
    } kTexts[] = {
        {6, {u"Anuluj", u"Cancel", u"Annuler", u"Abbrechen", u"Annulla", u"Anular"}},
        {7, {u"Zakończ", u"Finish", u"Quitter", u"Beenden", u"Termina", u"Finalizar"}},
        {181, {u"Uwaga", u"Attention", u"Attention", u"Achtung", u"Attenzione", u"Atención"}},
        {182, {u"Tak", u"Yes", u"Oui", u"Ja", u"Si", u"Si"}},
        {183, {u"Nie", u"No", u"Non", u"Nein", u"No", u"No"}},
        {261,
         {u"%s - Uaktualnienie", u"%s - Update", u"%s - Update", u"Update - %s", u"%s – Attualizzazione",
          u"%s – Actualizado"}},
        {263, {u"Wersja %s", u"Version %s", u"Version %s", u"Version %s", u"Versione %s", u"Versión %s"}},
        {264, {u"Uaktualnij", u"Update", u"Actualiser", u"Aktualisieren", u"Attualizza", u"Actualización"}},
        {267, {u"OK\r\n", u"OK\r\n", u"OK\r\n", u"OK\r\n", u"OK\r\n", u"OK\r\n"}},
        {268, {u"Błąd\r\n", u"Error\r\n", u"Erreur\r\n", u"Fehler\r\n", u"Errore\r\n", u"Error\r\n"}},
        {271,
         {u"Ten program uaktualni \"%s\" do wersji %s. Jeżeli Quillex jest uruchomiony, należy go zamknąć przed "
          u"dokonaniem aktualizacji.\r\n\r\nNaciśnij przycisk \"Uaktualnij\" aby kontynuować.\r\n\r\n",
          u"This program will update '%s' to version %s. If Quillex is running, it must be closed before "
          u"updating.\r\n\r\nPress \"Update\" button to continue.\r\n\r\n",
          u"Le logiciel actualisera \"%s\" à la version %s. Si le logiciel est lancé, il faut le quitter avant de "
          u"l'actualisation.\r\n\r\nCliquez sur le bouton \"Actualiser\" pour continuer.\r\n\r\n",
          u"Dieses Programm wird \"%s\" zur Version %s aktualisieren. Wenn das Programm gestartet ist, soll man es vor "
          u"der Akualisierung schliessen.\r\n\r\nUm fort zu setzen, klicken Sie bitte \"Aktualisieren\".\r\n\r\n",
          u"Questo programma attualizzerà \"%s\" per la versione %s. Se il programma è azionato bisogna chiuderlo "
          u"prima di effettuare l'attualizzazione.\r\n\r\nPremere il tasto \"Attualizza\" per continuare.\r\n\r\n",
          u"Este programa actualizará \"%s\" a la versión %s. Si el Quillex se encuentra en uso, se deberá cerrar "
          u"antes de que se realice la actualización. Presione el botón \"Update\" para continuar."}},
        {272,
         {u"Aktualizacja została zakończona pomyślnie. Naciśnij \"Zakończ\" aby wyjść z programu.",
          u"Update has finished successfully. Press \"Finish\" to exit the program.",
          u"L'actualisation est finie. Cliquez \"Finir\" pour quitter le logiciel.",
          u"Aktualisierung erfolgreich beendet. Drücken Sie \"Beenden\", um das Programm zu schließen.",
          u"Attualizzazione è stata effettuata favorevolmente. Premere \"Finisci\" per uscire dal programma.",
          u"La actualización ha finalizado exitosamente. Presione „Finish” para salir del programa."}},
        {273,
         {u"Podczas aktualizacji wystąpiły błędy. Naciśnij \"Uaktualnij\" aby ponownie dokonać aktualizacji, albo "
          u"\"Zakończ\" aby wyjść z programu.",
          u"Some errors occurred during update. Press \"Update\" to retry, or \"Finish\" to exit.",
          u"Il y avait des erreurs pendant l'actualisation. Appuyer \"Actualiser\" pour actualiser le logiciel de "
          u"nouveau ou \"Finir\" pour quitter le logiciel.",
          u"Während der Aktualisierung ist ein Fehler erschienen. Klicken Sie \"Aktualisieren\" um die Aktualisierung "
          u"wieder auszuführen, oder \"Beenden\" um das Programm zu schließen.",
          u"Accaduti degli errori durante l'attualizzazione. Premere \"Attualizza\" per far di nuovo "
          u"l'attualizzazione, oppure \"Finisci\" per uscire dal programma.",
          u"Algunos errores se han producido durante la actualización. Presione \"Update\" si desea reintentarlo o "
          u"“Finish” si desea salir del programa."}},
        {274,
         {u"Zainstalowana wersja programu nie wymaga aktualizacji.", u"The installed version doesn't need updating.",
          u"La version installée n'a pas besoin d'une actualisation.",
          u"Die installierte Version erfordert keine Aktualisierung.",
          u"La versione istallata del programma non richiede dell'attualizzazione.",
          u"La versión instalada no necesita actualizarse."}},
        {276,
         {u"Trwa aktualizacja pliku \"%s\" ... ", u"File '%s' is being updated ... ",
          u"Actualisation du fichier \"%s\" ... ", u"Aktualisierung der Datei \"%s\" ... ",
          u"È in corso l'attualizzazione del file \"%s\"... ", u"El archivo \"%s\" se está actualizando... "}},
        {277,
         {u"Błąd - nie znaleziono katalogu programu.", u"Error - program directory could not be found.",
          u"Erreur: le répertoire du logiciel n'a pas été trouvé.", u"Fehler - Ordner des Programms nicht gefunden.",
          u"Errore – il catalogo del programma non è stato trovato.",
          u"Error: El directorio del programa no puede ser encontrado."}},
        {278,
         {u"Błąd - nie znaleziono pliku \"%s\" w katalogu programu.",
          u"Error - file '%s' could not be found in program directory.",
          u"Erreur - le fichier \"%s\" dans le répertoire du logiciel n'a pas été trouvé.",
          u"Fehler - Datei \"%s\" nicht gefunden.",
          u"Errore – il file \"%s\" nel catalogo del programma non è stato trovato.",
          u"Error: El archivo \"%s\" no se ha encontrado en el directorio del programa."}},
        {279,
         {u"Błąd - nieznana wersja pliku \"%s\".", u"Error - unknown version of file '%s'.",
          u"Erreur: version inconnue du fichier \"%s\".", u"Fehler - unbekannte Version der Datei \"%s\".",
          u"Errore – la versione del file \"%s\" ignota.", u"Error: versión desconocida del archivo \"%s\"."}},
        {280,
         {u"Wystąpił błąd podczas otwierania pliku \"%s\".", u"An error occurred while opening file '%s'.",
          u"Erreur au cours d'ouvrir le fichier \"%s\".", u"Fehler beim Öffnen der Datei \"%s\".",
          u"Accaduto un'errore durante l'apertura del file \"%s\".",
          u"Se ha generado un error al abrir el archivo \"%s\"."}},
    };
    for (const auto& entry : kTexts) {
        for (std::uint8_t language = 0; language < 6; ++language) {
            EXPECT_EQ(GetText(language, entry.id, false, kNT), AsShown(entry.texts[language]))
                << "id " << entry.id << ", language " << int{language};
        }
        // Russian and Hungarian read the Polish bytes.
        EXPECT_EQ(StoredText(entry.id, 6), StoredText(entry.id, 0)) << entry.id;
        EXPECT_EQ(GetText(7, entry.id, false, kNT), AsShown(entry.texts[0])) << entry.id;
    }
}

TEST(TextCatalogue, StoredBytesOfTheWindowsCodePages) {
    EXPECT_EQ(StoredText(7, 0),
              "Zako\xF1"
              "cz");
    EXPECT_EQ(StoredText(261, 4), "%s \x96 Attualizzazione");
    EXPECT_EQ(StoredText(261, 5), "%s \x96 Actualizado");
    for (int id : {277, 278, 279})
        EXPECT_NE(StoredText(id, 4).find("Errore \x96 "), std::string_view::npos) << id;
    EXPECT_NE(StoredText(272, 5).find("\x84"
                                      "Finish\x94"),
              std::string_view::npos);
    EXPECT_NE(StoredText(273, 5).find("\x93"
                                      "Finish\x94"),
              std::string_view::npos);
    for (std::uint8_t column = 0; column < 7; ++column) {
        const std::string_view intro = StoredText(271, column);
        EXPECT_EQ(intro.ends_with("\r\n\r\n"), column != 5) << int{column};
        EXPECT_EQ(intro.find('\n') == std::string_view::npos, column == 5) << int{column};
        EXPECT_TRUE(StoredText(276, column).ends_with(". ")) << int{column};
        EXPECT_EQ(StoredText(267, column), "OK\r\n");
    }
    // No bare line feeds anywhere: every break is CR LF.
    for (int id = kFirstTextId; id <= kLastTextId; ++id) {
        for (std::uint8_t column = 0; column < 7; ++column) {
            const std::string_view text = StoredText(id, column);
            for (std::size_t i = 0; i < text.size(); ++i) {
                if (text[i] == '\n') {
                    EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << id;
                }
            }
        }
    }
}

TEST(TextCatalogue, RussianColumn) {
    int marked = 0;
    for (int id = kFirstTextId; id <= kLastTextId; ++id) {
        const std::string_view polish = StoredText(id, 0);
        const std::string_view russian = StoredText(id, 6);
        if (id == 10 || id == 151 || id == 247 || id == 301 || id == 43 || id == 303) continue;
        if (russian.size() == polish.size() + 1 && russian[0] == '\xD7' && russian.substr(1) == polish) {
            ++marked;
            EXPECT_EQ(kUsedIds.count(id), 0u) << id;
        } else {
            EXPECT_EQ(russian, polish) << id;
        }
    }
    EXPECT_EQ(marked, 17);
    EXPECT_EQ(StoredText(43, 6), "");
    EXPECT_EQ(StoredText(303, 6), "");
    EXPECT_FALSE(StoredText(43, 0).empty());
    EXPECT_FALSE(StoredText(303, 0).empty());
    // The Russian texts of their own are stored in Latin letters and read in Cyrillic.
    EXPECT_EQ(StoredText(10, 6), "\xC2zyk");
    EXPECT_EQ(GetText(6, 10, false, kNT), u"Язык");
    EXPECT_EQ(GetText(6, 151, false, kNT),
              u"Найдена предыдущая версия программы. Преобразовать словари и настройки для новой версии?");
    EXPECT_EQ(GetText(6, 247, false, kNT), u"Удалить словари пользователя");
    EXPECT_EQ(GetText(6, 301, false, kNT), u"%s - Установка");
}

TEST(TextCatalogue, RussianStepKeepsPlaceholders) {
    const std::u16string text = GetText(6, 276, false, kNT);
    EXPECT_EQ(text, u"Трwа актуализацйа плику \"%s\" ... ");
    EXPECT_EQ(GetText(6, 21, false, kNT), u"Крок %d з %d: %s");
}

TEST(TextCatalogue, ConversionFollowsPlatformAndForce) {
    const Platform oldWindowsGerman{false, 3};
    EXPECT_EQ(GetText(0, 7, false, oldWindowsGerman), u"Zakoñcz");
    EXPECT_EQ(GetText(0, 7, true, oldWindowsGerman), u"Zakończ");
    EXPECT_EQ(GetText(0, 7, false, Platform{false, 0}), u"Zakończ");
    EXPECT_EQ(GetText(7, 7, false, kNT), u"Zakończ");
    // The system's language decides even for a Russian text, unless forced: the Cyrillic bytes
    // are then read as Central European letters.
    EXPECT_EQ(GetText(6, 10, false, Platform{false, 0}), u"ßçűę");
    EXPECT_EQ(GetText(6, 10, true, Platform{false, 0}), u"Язык");
    // Codes above 7 read the column of their low seven bits through the base map.
    EXPECT_EQ(GetText(0x81, 276, false, kNT), AsShown(u"File '%s' is being updated ... "));
    EXPECT_EQ(GetText(8, 7, false, kNT), u"Zakoñcz");
    EXPECT_EQ(GetText(0x86, 10, false, kNT).size(), StoredText(10, 6).size());
}

TEST(TextCatalogue, OneCodeUnitPerStoredByte) {
    const Platform platforms[] = {{true, 0}, {false, 6}, {false, 200}};
    for (int id = -1; id <= kLastTextId + 1; ++id) {
        for (int language : {0, 1, 2, 3, 4, 5, 6, 7, 8, 0x85, 0x86, 255}) {
            const std::uint8_t column = ((language & 0x7F) >= 1 && (language & 0x7F) <= 6) ? (language & 0x7F) : 0;
            for (const Platform& platform : platforms) {
                ASSERT_EQ(GetText(language, id, false, platform).size(), StoredText(id, column).size())
                    << id << " " << language;
            }
        }
    }
}

}  // namespace
}  // namespace updater::localisation
