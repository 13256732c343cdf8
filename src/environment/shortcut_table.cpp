#include "environment/shortcut_table.h"

#include <array>

namespace updater::environment {
namespace {

using P = base::ByteSet;

constexpr std::uint8_t kCopy = kShortcutFlagCopy;
constexpr std::uint8_t kOptional = kShortcutFlagOptional;
constexpr std::uint8_t kMenu = kShortcutFlagStartMenu;
constexpr std::uint8_t kDesktop = kShortcutFlagDesktop;
constexpr std::uint8_t kShared = kShortcutFlagShared;

constexpr std::uint8_t kPl = 1u << 0;
constexpr std::uint8_t kEn = 1u << 1;
constexpr std::uint8_t kFr = 1u << 2;
constexpr std::uint8_t kDe = 1u << 3;
constexpr std::uint8_t kIt = 1u << 4;
constexpr std::uint8_t kEs = 1u << 5;
constexpr std::uint8_t kHu = 1u << 7;
constexpr std::uint8_t kAnyLanguage = 0xFF;

constexpr P kAllProducts{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
constexpr P kEnglishProducts{2, 3, 6, 7, 13};
constexpr P kGermanProducts{4, 5, 12};
constexpr P kFrenchProducts{1, 11};

// Non-ASCII captions are spelled as their code-page bytes; the comment shows the text.
// clang-format off
constexpr std::array<TShortcutInfo, kShortcutRows> kRows{{
    // Every product: set-up, uninstaller, registration, notes, web link, shared libraries.
    {kCopy | kMenu, kAllProducts, kPl, "Lexcfg.exe", "Konfiguracja"},
    {kCopy | kMenu, kAllProducts, kEn | kFr, "Lexcfg.exe", "Configuration"},
    {kCopy | kMenu, kAllProducts, kDe, "Lexcfg.exe", "Konfiguration"},
    {kCopy | kMenu, kAllProducts, kIt, "Lexcfg.exe", "Configurazione"},
    {kCopy | kMenu, kAllProducts, kEs, "Lexcfg.exe", "Configuraci\xF3n"},  // Configuración
    {kCopy | kMenu, kAllProducts, kHu, "Lexcfg.exe", "Be\xE1ll\xEDt\xE1sok"},  // Beállítások
    {kCopy, kAllProducts, kPl, "Lexcfg.hlp", "Pomoc konfiguracji"},
    {kCopy, kAllProducts, kEn, "Lexcfg.hlp", "Configuration Help"},
    {kCopy, kAllProducts, kFr, "Lexcfg.hlp", "Aide de la configuration"},
    {kCopy, kAllProducts, kDe, "Lexcfg.hlp", "Hilfe zur Konfiguration"},
    {kCopy, kAllProducts, kIt, "Lexcfg.hlp", "Guida alla configurazione"},
    {kCopy, kAllProducts, kEs, "Lexcfg.hlp", "Ayuda de la configuraci\xF3n"},  // Ayuda de la configuración
    {kCopy, kAllProducts, kHu, "Lexcfg.hlp", "Be\xE1ll\xEDt\xE1sok s\xFAg\xF3"},  // Beállítások súgó
    {kCopy | kMenu, kAllProducts, kPl, "Lexdel.exe", "Odinstaluj"},
    {kCopy | kMenu, kAllProducts, kEn, "Lexdel.exe", "Uninstall"},
    {kCopy | kMenu, kAllProducts, kFr, "Lexdel.exe", "D\xE9sinstaller"},  // Désinstaller
    {kCopy | kMenu, kAllProducts, kDe, "Lexdel.exe", "Deinstallieren"},
    {kCopy | kMenu, kAllProducts, kIt, "Lexdel.exe", "Disinstalla"},
    {kCopy | kMenu, kAllProducts, kEs, "Lexdel.exe", "Desinstalar"},
    {kCopy | kMenu, kAllProducts, kHu, "Lexdel.exe", "Elt\xE1vol\xEDt\xE1s"},  // Eltávolítás
    {kCopy | kMenu, kAllProducts, kPl, "Lexreg.exe", "Rejestracja programu"},
    {kCopy | kMenu, kAllProducts, kEn, "Lexreg.exe", "Product Registration"},
    {kCopy | kMenu, kAllProducts, kFr, "Lexreg.exe", "Enregistrement"},
    {kCopy | kMenu, kAllProducts, kDe, "Lexreg.exe", "Registrierung"},
    {kCopy | kMenu, kAllProducts, kIt, "Lexreg.exe", "Registrazione"},
    {kCopy | kMenu, kAllProducts, kEs, "Lexreg.exe", "Registro"},
    {kCopy | kMenu, kAllProducts, kHu, "Lexreg.exe", "Regisztr\xE1" "ci\xF3"},  // Regisztráció
    {kCopy | kMenu, kAllProducts, kPl, "Czytaj.txt", "Przeczytaj"},
    {kCopy | kMenu, kAllProducts, kEn, "Czytaj.txt", "Read Me"},
    {kCopy | kMenu, kAllProducts, kFr, "Czytaj.txt", "Lisez-moi"},
    {kCopy | kMenu, kAllProducts, kDe, "Czytaj.txt", "Liesmich"},
    {kCopy | kMenu, kAllProducts, kIt, "Czytaj.txt", "Leggimi"},
    {kCopy | kMenu, kAllProducts, kEs, "Czytaj.txt", "L\xE9" "ame"},  // Léame
    {kCopy | kMenu, kAllProducts, kHu, "Czytaj.txt", "Olvass el"},
    {kCopy | kMenu, kAllProducts, kPl, "Lexnet.url", "Lexivo w Internecie"},
    {kCopy | kMenu, kAllProducts, kEn, "Lexnet.url", "Lexivo on the Web"},
    {kCopy | kMenu, kAllProducts, kFr, "Lexnet.url", "Lexivo sur Internet"},
    {kCopy | kMenu, kAllProducts, kDe, "Lexnet.url", "Lexivo im Internet"},
    {kCopy | kMenu, kAllProducts, kIt, "Lexnet.url", "Lexivo su Internet"},
    {kCopy | kMenu, kAllProducts, kEs, "Lexnet.url", "Lexivo en Internet"},
    {kCopy | kMenu, kAllProducts, kHu, "Lexnet.url", "Lexivo az interneten"},
    {kCopy | kShared, kAllProducts, kAnyLanguage, "Lexivo.bmp", "Lexivo"},
    {kCopy | kShared, kAllProducts, kAnyLanguage, "Lexcore.dll", "Lexcore"},
    {kCopy | kShared, kAllProducts, kAnyLanguage, "Lexui.dll", "Lexui"},
    {kCopy | kShared, kAllProducts, kAnyLanguage, "Lexspell.dll", "Lexspell"},
    // English products: translator, dictionary, references and data.
    {kCopy | kMenu | kDesktop, kEnglishProducts, kPl, "Quorbel.exe", "T\xB3umacz angielsko-polski"},  // Tłumacz angielsko-polski
    {kCopy | kMenu | kDesktop, kEnglishProducts, kEn, "Quorbel.exe", "English-Polish Translator"},
    {kCopy | kMenu | kDesktop, P{13}, kHu, "Quorbel.exe", "Angol-lengyel ford\xEDt\xF3"},  // Angol-lengyel fordító
    {kCopy | kMenu, kEnglishProducts, kPl, "Quorbel.hlp", "Pomoc t\xB3umacza"},  // Pomoc tłumacza
    {kCopy | kMenu, kEnglishProducts, kEn, "Quorbel.hlp", "Translator Help"},
    {kCopy | kMenu, P{13}, kHu, "Quorbel.hlp", "Ford\xEDt\xF3 s\xFAg\xF3"},  // Fordító súgó
    {kCopy, kEnglishProducts, kPl, "Quorbel.cnt", "Spis tre\x9C" "ci pomocy t\xB3umacza"},  // Spis treści pomocy tłumacza
    {kCopy, kEnglishProducts, kEn, "Quorbel.cnt", "Translator Help Contents"},
    {kCopy, kEnglishProducts, kPl, "Quorbel.dat", "Baza t\xB3umacza"},  // Baza tłumacza
    {kCopy, kEnglishProducts, kEn, "Quorbel.dat", "Translator Database"},
    {kCopy, kEnglishProducts, kPl, "Quorbel.dot", "Szablon t\xB3umacza dla edytora Word"},  // Szablon tłumacza dla edytora Word
    {kCopy, kEnglishProducts, kEn, "Quorbel.dot", "Translator Word Template"},
    {kCopy | kMenu | kDesktop, kEnglishProducts, kPl, "Norvak.exe", "S\xB3ownik angielsko-polski"},  // Słownik angielsko-polski
    {kCopy | kMenu | kDesktop, kEnglishProducts, kEn, "Norvak.exe", "English-Polish Dictionary"},
    {kCopy | kMenu | kDesktop, P{13}, kHu, "Norvak.exe", "Angol-lengyel sz\xF3t\xE1r"},  // Angol-lengyel szótár
    {kCopy | kMenu, kEnglishProducts, kPl, "Norvak.hlp", "Pomoc s\xB3ownika"},  // Pomoc słownika
    {kCopy | kMenu, kEnglishProducts, kEn, "Norvak.hlp", "Dictionary Help"},
    {kCopy | kMenu, P{13}, kHu, "Norvak.hlp", "Sz\xF3t\xE1r s\xFAg\xF3"},  // Szótár súgó
    {kCopy, kEnglishProducts, kPl, "Norvak.dat", "Baza s\xB3ownika"},  // Baza słownika
    {kCopy, kEnglishProducts, kEn, "Norvak.dat", "Dictionary Database"},
    {kCopy, kEnglishProducts, kPl, "Norvak.dot", "Szablon s\xB3ownika dla edytora Word"},  // Szablon słownika dla edytora Word
    {kCopy, kEnglishProducts, kEn, "Norvak.dot", "Dictionary Word Template"},
    {kCopy | kOptional, kEnglishProducts, kPl, "Wymowa.dat", "Nagrania wymowy"},
    {kCopy | kOptional, kEnglishProducts, kEn, "Wymowa.dat", "Pronunciation Recordings"},
    {kCopy | kOptional, kEnglishProducts, kPl, "Fonetyk.dat", "Transkrypcja fonetyczna"},
    {kCopy | kOptional, kEnglishProducts, kEn, "Fonetyk.dat", "Phonetic Transcription"},
    {kCopy, kEnglishProducts, kPl, "Idiomy.dat", "Idiomy angielskie"},
    {kCopy, kEnglishProducts, kEn, "Idiomy.dat", "English Idioms"},
    {kCopy, kEnglishProducts, kPl, "Zwroty.dat", "Rozm\xF3wki angielskie"},  // Rozmówki angielskie
    {kCopy, kEnglishProducts, kEn, "Zwroty.dat", "English Phrasebook"},
    {kCopy | kMenu, kEnglishProducts, kPl, "Gram_En.chm", "Gramatyka angielska"},
    {kCopy | kMenu, kEnglishProducts, kEn, "Gram_En.chm", "English Grammar"},
    {kCopy | kMenu, P{13}, kHu, "Gram_En.chm", "Angol nyelvtan"},
    {kCopy | kMenu, kEnglishProducts, kPl, "Verbs_En.chm", "Czasowniki nieregularne"},
    {kCopy | kMenu, kEnglishProducts, kEn, "Verbs_En.chm", "Irregular Verbs"},
    {kCopy | kMenu, P{13}, kHu, "Verbs_En.chm", "Rendhagy\xF3 ig\xE9k"},  // Rendhagyó igék
    {kCopy | kMenu, P{3, 6, 13}, kPl, "Plural_En.chm", "Nieregularna liczba mnoga"},
    {kCopy | kMenu, P{3, 6, 13}, kEn, "Plural_En.chm", "Irregular Plurals"},
    {kCopy, P{2}, kPl, "Biznes_En.dat", "S\xB3ownik biznesowy"},  // Słownik biznesowy
    {kCopy, P{2}, kEn, "Biznes_En.dat", "Business Dictionary"},
    {kCopy | kMenu, P{2}, kPl, "Listy_En.chm", "Wzory list\xF3w handlowych"},  // Wzory listów handlowych
    {kCopy | kMenu, P{2}, kEn, "Listy_En.chm", "Business Letter Templates"},
    {kCopy, P{7}, kPl, "Medyk.dat", "S\xB3ownik medyczny"},  // Słownik medyczny
    {kCopy, P{7}, kEn, "Medyk.dat", "Medical Dictionary"},
    {kCopy | kMenu, P{7}, kPl, "Medyk.chm", "Pomoc s\xB3ownika medycznego"},  // Pomoc słownika medycznego
    {kCopy | kMenu, P{7}, kEn, "Medyk.chm", "Medical Dictionary Help"},
    // English 2.5: the second-generation program files and the web-page translator.
    {kCopy | kMenu | kDesktop, P{6}, kPl, "Quorbel2.exe", "T\xB3umacz angielsko-polski 2.5"},  // Tłumacz angielsko-polski 2.5
    {kCopy | kMenu | kDesktop, P{6}, kEn, "Quorbel2.exe", "English-Polish Translator 2.5"},
    {kCopy | kMenu, P{6}, kPl, "Quorbel2.hlp", "Pomoc t\xB3umacza 2.5"},  // Pomoc tłumacza 2.5
    {kCopy | kMenu, P{6}, kEn, "Quorbel2.hlp", "Translator Help 2.5"},
    {kCopy, P{6}, kPl, "Quorbel2.cnt", "Spis tre\x9C" "ci pomocy t\xB3umacza 2.5"},  // Spis treści pomocy tłumacza 2.5
    {kCopy, P{6}, kEn, "Quorbel2.cnt", "Translator Help Contents 2.5"},
    {kCopy, P{6}, kPl, "Quorbel2.dat", "Baza t\xB3umacza 2.5"},  // Baza tłumacza 2.5
    {kCopy, P{6}, kEn, "Quorbel2.dat", "Translator Database 2.5"},
    {kCopy | kMenu, P{6}, kPl, "Quorbelpl2.exe", "T\xB3umacz stron WWW"},  // Tłumacz stron WWW
    {kCopy | kMenu, P{6}, kEn, "Quorbelpl2.exe", "Web Page Translator"},
    {kCopy | kMenu, P{13}, kHu, "Quorbelpl2.exe", "Weboldal-ford\xEDt\xF3"},  // Weboldal-fordító
    {kCopy, P{3}, kPl, "Quorbelpl2.exe", "T\xB3umacz stron WWW"},  // Tłumacz stron WWW
    {kCopy | kMenu | kDesktop, P{6}, kPl, "Norvak2.exe", "S\xB3ownik angielsko-polski 2.5"},  // Słownik angielsko-polski 2.5
    {kCopy | kMenu | kDesktop, P{6}, kEn, "Norvak2.exe", "English-Polish Dictionary 2.5"},
    {kCopy, P{6}, kPl, "Norvak2.dat", "Baza s\xB3ownika 2.5"},  // Baza słownika 2.5
    {kCopy, P{6}, kEn, "Norvak2.dat", "Dictionary Database 2.5"},
    // German products.
    {kCopy | kMenu | kDesktop, kGermanProducts, kPl, "Trelmik.exe", "T\xB3umacz niemiecko-polski"},  // Tłumacz niemiecko-polski
    {kCopy | kMenu | kDesktop, kGermanProducts, kDe, "Trelmik.exe", "\xDC" "bersetzungsprogramm Deutsch-Polnisch"},  // Übersetzungsprogramm Deutsch-Polnisch
    {kCopy | kMenu, P{4}, kPl, "Trelmik.hlp", "Pomoc t\xB3umacza"},  // Pomoc tłumacza
    {kCopy | kMenu, P{4}, kDe, "Trelmik.hlp", "Hilfedatei des \xDC" "bersetzungsprogramms"},  // Hilfedatei des Übersetzungsprogramms
    {kCopy, kGermanProducts, kPl, "Trelmik.dat", "Baza t\xB3umacza"},  // Baza tłumacza
    {kCopy, kGermanProducts, kDe, "Trelmik.dat", "Datenbank des \xDC" "bersetzungsprogramms"},  // Datenbank des Übersetzungsprogramms
    {kCopy | kMenu, P{5, 12}, kPl, "Trans.chm", "Pomoc programu t\xB3umacz\xB9" "cego"},  // Pomoc programu tłumaczącego
    {kCopy | kMenu, P{5, 12}, kDe, "Trans.chm", "Hilfedatei des \xDC" "bersetzungsprogramms"},  // Hilfedatei des Übersetzungsprogramms
    {kCopy, P{5, 12}, kPl, "TransD.chm", "Pomoc programu t\xB3umacz\xB9" "cego (niemiecka)"},  // Pomoc programu tłumaczącego (niemiecka)
    {kCopy, P{5, 12}, kDe, "TransD.chm", "Hilfedatei des \xDC" "bersetzungsprogramms (Deutsch)"},  // Hilfedatei des Übersetzungsprogramms (Deutsch)
    {kCopy | kMenu | kDesktop, kGermanProducts, kPl, "Wendura.exe", "S\xB3ownik niemiecko-polski"},  // Słownik niemiecko-polski
    {kCopy | kMenu | kDesktop, kGermanProducts, kDe, "Wendura.exe", "W\xF6rterbuch Deutsch-Polnisch"},  // Wörterbuch Deutsch-Polnisch
    {kCopy | kMenu, P{4}, kPl, "Wendura.hlp", "Pomoc s\xB3ownika"},  // Pomoc słownika
    {kCopy | kMenu, P{4}, kDe, "Wendura.hlp", "Hilfedatei des W\xF6rterbuchs"},  // Hilfedatei des Wörterbuchs
    {kCopy | kMenu, P{5, 12}, kPl, "Sl_Zew.chm", "Pomoc s\xB3ownika"},  // Pomoc słownika
    {kCopy | kMenu, P{5, 12}, kDe, "Sl_Zew.chm", "Hilfedatei des W\xF6rterbuchs"},  // Hilfedatei des Wörterbuchs
    {kCopy, P{5, 12}, kPl, "Sl_ZewD.chm", "Pomoc s\xB3ownika (niemiecka)"},  // Pomoc słownika (niemiecka)
    {kCopy, P{5, 12}, kDe, "Sl_ZewD.chm", "Hilfedatei des W\xF6rterbuchs (Deutsch)"},  // Hilfedatei des Wörterbuchs (Deutsch)
    {kCopy, kGermanProducts, kPl, "Wendura.dat", "Baza s\xB3ownika"},  // Baza słownika
    {kCopy, kGermanProducts, kDe, "Wendura.dat", "W\xF6rterbuchdatenbank"},  // Wörterbuchdatenbank
    {kCopy | kMenu | kDesktop, P{5}, kPl, "Wendura2.exe", "S\xB3ownik niemiecko-polski 2.5"},  // Słownik niemiecko-polski 2.5
    {kCopy | kMenu | kDesktop, P{5}, kDe, "Wendura2.exe", "W\xF6rterbuch Deutsch-Polnisch 2.5"},  // Wörterbuch Deutsch-Polnisch 2.5
    {kCopy, P{5}, kPl, "Wendura2.dat", "Baza s\xB3ownika 2.5"},  // Baza słownika 2.5
    {kCopy, P{5}, kDe, "Wendura2.dat", "W\xF6rterbuchdatenbank 2.5"},  // Wörterbuchdatenbank 2.5
    {kCopy | kMenu, kGermanProducts, kPl, "Gram_De.chm", "Gramatyka niemiecka"},
    {kCopy | kMenu, kGermanProducts, kDe, "Gram_De.chm", "Deutsche Grammatik"},
    {kCopy | kMenu, kGermanProducts, kPl, "Verbs_De.chm", "Czasowniki nieregularne"},
    {kCopy | kMenu, kGermanProducts, kDe, "Verbs_De.chm", "Unregelm\xE4\xDFige Verben"},  // Unregelmäßige Verben
    {kCopy | kOptional, kGermanProducts, kPl, "Wymowa_De.dat", "Nagrania wymowy"},
    {kCopy | kOptional, kGermanProducts, kDe, "Wymowa_De.dat", "Ausspracheaufnahmen"},
    {kCopy, kGermanProducts, kPl, "Zwroty_De.dat", "Rozm\xF3wki niemieckie"},  // Rozmówki niemieckie
    {kCopy, kGermanProducts, kDe, "Zwroty_De.dat", "Deutscher Sprachf\xFChrer"},  // Deutscher Sprachführer
    {kCopy, kGermanProducts, kPl, "Idiomy_De.dat", "Idiomy niemieckie"},
    {kCopy, kGermanProducts, kDe, "Idiomy_De.dat", "Deutsche Redewendungen"},
    {kCopy, P{12}, kPl, "Biznes_De.dat", "S\xB3ownik biznesowy"},  // Słownik biznesowy
    {kCopy, P{12}, kDe, "Biznes_De.dat", "Wirtschaftsw\xF6rterbuch"},  // Wirtschaftswörterbuch
    {kCopy | kMenu, P{12}, kPl, "Briefe_De.chm", "Wzory list\xF3w handlowych"},  // Wzory listów handlowych
    {kCopy | kMenu, P{12}, kDe, "Briefe_De.chm", "Gesch\xE4" "ftsbriefe"},  // Geschäftsbriefe
    // French products.
    {kCopy | kMenu | kDesktop, kFrenchProducts, kPl, "Brovnik.exe", "S\xB3ownik francusko-polski"},  // Słownik francusko-polski
    {kCopy | kMenu | kDesktop, kFrenchProducts, kFr, "Brovnik.exe", "Dictionnaire fran\xE7" "ais-polonais"},  // Dictionnaire français-polonais
    {kCopy | kMenu, kFrenchProducts, kPl, "Brovnik.hlp", "Pomoc s\xB3ownika"},  // Pomoc słownika
    {kCopy | kMenu, kFrenchProducts, kFr, "Brovnik.hlp", "Aide du dictionnaire"},
    {kCopy, kFrenchProducts, kPl, "Brovnik.dat", "Baza s\xB3ownika"},  // Baza słownika
    {kCopy, kFrenchProducts, kFr, "Brovnik.dat", "Base du dictionnaire"},
    {kCopy | kMenu | kDesktop, kFrenchProducts, kPl, "Galvet.exe", "T\xB3umacz francusko-polski"},  // Tłumacz francusko-polski
    {kCopy | kMenu | kDesktop, kFrenchProducts, kFr, "Galvet.exe", "Traducteur fran\xE7" "ais-polonais"},  // Traducteur français-polonais
    {kCopy | kMenu, kFrenchProducts, kPl, "Galvet.hlp", "Pomoc t\xB3umacza"},  // Pomoc tłumacza
    {kCopy | kMenu, kFrenchProducts, kFr, "Galvet.hlp", "Aide du traducteur"},
    {kCopy, kFrenchProducts, kPl, "Galvet.dat", "Baza t\xB3umacza"},  // Baza tłumacza
    {kCopy, kFrenchProducts, kFr, "Galvet.dat", "Base du traducteur"},
    {kCopy | kMenu, kFrenchProducts, kPl, "Gram_Fr.chm", "Gramatyka francuska"},
    {kCopy | kMenu, kFrenchProducts, kFr, "Gram_Fr.chm", "Grammaire fran\xE7" "aise"},  // Grammaire française
    {kCopy | kMenu, kFrenchProducts, kPl, "Verbs_Fr.chm", "Odmiana czasownik\xF3w"},  // Odmiana czasowników
    {kCopy | kMenu, kFrenchProducts, kFr, "Verbs_Fr.chm", "Conjugaison des verbes"},
    {kCopy | kMenu, kFrenchProducts, kPl, "Plural_Fr.chm", "Liczba mnoga rzeczownik\xF3w z\xB3o\xBFonych"},  // Liczba mnoga rzeczowników złożonych
    {kCopy | kMenu, kFrenchProducts, kFr, "Plural_Fr.chm", "Pluriel des noms compos\xE9s"},  // Pluriel des noms composés
    {kCopy | kOptional, kFrenchProducts, kPl, "Wymowa_Fr.dat", "Nagrania wymowy"},
    {kCopy | kOptional, kFrenchProducts, kFr, "Wymowa_Fr.dat", "Enregistrements de prononciation"},
    {kCopy, kFrenchProducts, kPl, "Zwroty_Fr.dat", "Rozm\xF3wki francuskie"},  // Rozmówki francuskie
    {kCopy, kFrenchProducts, kFr, "Zwroty_Fr.dat", "Guide de conversation"},
    {kCopy, P{11}, kPl, "Biznes_Fr.dat", "S\xB3ownik biznesowy"},  // Słownik biznesowy
    {kCopy, P{11}, kFr, "Biznes_Fr.dat", "Dictionnaire des affaires"},
    {kCopy | kMenu, P{11}, kPl, "Lettres_Fr.chm", "Wzory list\xF3w handlowych"},  // Wzory listów handlowych
    {kCopy | kMenu, P{11}, kFr, "Lettres_Fr.chm", "Mod\xE8les de lettres commerciales"},  // Modèles de lettres commerciales
    // Italian product.
    {kCopy | kMenu | kDesktop, P{8}, kPl, "Ospira.exe", "S\xB3ownik w\xB3osko-polski"},  // Słownik włosko-polski
    {kCopy | kMenu | kDesktop, P{8}, kIt, "Ospira.exe", "Dizionario italiano-polacco"},
    {kCopy | kMenu, P{8}, kPl, "Ospira.hlp", "Pomoc s\xB3ownika"},  // Pomoc słownika
    {kCopy | kMenu, P{8}, kIt, "Ospira.hlp", "Guida del dizionario"},
    {kCopy, P{8}, kPl, "Ospira.dat", "Baza s\xB3ownika"},  // Baza słownika
    {kCopy, P{8}, kIt, "Ospira.dat", "Base del dizionario"},
    {kCopy | kMenu, P{8}, kPl, "Gram_It.chm", "Gramatyka w\xB3oska"},  // Gramatyka włoska
    {kCopy | kMenu, P{8}, kIt, "Gram_It.chm", "Grammatica italiana"},
    {kCopy | kMenu, P{8}, kPl, "Verbs_It.chm", "Czasowniki nieregularne"},
    {kCopy | kMenu, P{8}, kIt, "Verbs_It.chm", "Verbi irregolari"},
    {kCopy | kOptional, P{8}, kPl, "Wymowa_It.dat", "Nagrania wymowy"},
    {kCopy | kOptional, P{8}, kIt, "Wymowa_It.dat", "Registrazioni della pronuncia"},
    // Spanish product.
    {kCopy | kMenu | kDesktop, P{9}, kPl, "Calvero.exe", "S\xB3ownik hiszpa\xF1sko-polski"},  // Słownik hiszpańsko-polski
    {kCopy | kMenu | kDesktop, P{9}, kEs, "Calvero.exe", "Diccionario espa\xF1ol-polaco"},  // Diccionario español-polaco
    {kCopy | kMenu, P{9}, kPl, "Calvero.hlp", "Pomoc s\xB3ownika"},  // Pomoc słownika
    {kCopy | kMenu, P{9}, kEs, "Calvero.hlp", "Ayuda del diccionario"},
    {kCopy, P{9}, kPl, "Calvero.dat", "Baza s\xB3ownika"},  // Baza słownika
    {kCopy, P{9}, kEs, "Calvero.dat", "Base del diccionario"},
    {kCopy | kMenu, P{9}, kPl, "Gram_Es.chm", "Gramatyka hiszpa\xF1ska"},  // Gramatyka hiszpańska
    {kCopy | kMenu, P{9}, kEs, "Gram_Es.chm", "Gram\xE1tica espa\xF1ola"},  // Gramática española
    {kCopy | kMenu, P{9}, kPl, "Verbs_Es.chm", "Czasowniki nieregularne"},
    {kCopy | kMenu, P{9}, kEs, "Verbs_Es.chm", "Verbos irregulares"},
    {kCopy | kOptional, P{9}, kPl, "Wymowa_Es.dat", "Nagrania wymowy"},
    {kCopy | kOptional, P{9}, kEs, "Wymowa_Es.dat", "Grabaciones de pronunciaci\xF3n"},  // Grabaciones de pronunciación
    // Russian product (Polish captions only).
    {kCopy | kMenu | kDesktop, P{10}, kPl, "Dravik.exe", "S\xB3ownik rosyjsko-polski"},  // Słownik rosyjsko-polski
    {kCopy | kMenu, P{10}, kPl, "Dravik.hlp", "Pomoc s\xB3ownika"},  // Pomoc słownika
    {kCopy, P{10}, kPl, "Dravik.dat", "Baza s\xB3ownika"},  // Baza słownika
    {kCopy | kMenu, P{10}, kPl, "Gram_Ru.chm", "Gramatyka rosyjska"},
    {kCopy | kMenu, P{10}, kPl, "Verbs_Ru.chm", "Odmiana czasownik\xF3w rosyjskich"},  // Odmiana czasowników rosyjskich
    {kCopy | kOptional, P{10}, kPl, "Wymowa_Ru.dat", "Nagrania wymowy"},
    {kCopy, P{10}, kPl, "Zwroty_Ru.dat", "Rozm\xF3wki rosyjskie"},  // Rozmówki rosyjskie
    {kCopy | kShared, P{10}, kPl, "Cyryl.ttf", "Czcionka cyrylicy"},
}};
// clang-format on

}  // namespace

std::span<const TShortcutInfo> ShortcutTable() noexcept {
    return kRows;
}

}  // namespace updater::environment
