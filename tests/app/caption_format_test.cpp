#include "app/caption_format.h"

#include <gtest/gtest.h>

namespace updater::app {
namespace {

TEST(FormatCaption, FillsPlaceholdersInOrder) {
    EXPECT_EQ(FormatCaption(u"%s - Uaktualnienie", {u"Lexivo Angielskiego 2.5"}),
              u"Lexivo Angielskiego 2.5 - Uaktualnienie");
    EXPECT_EQ(FormatCaption(u"Ten program uaktualni \"%s\" do wersji %s.", {u"A", u"2.5.1"}),
              u"Ten program uaktualni \"A\" do wersji 2.5.1.");
    EXPECT_EQ(FormatCaption(u"no placeholders", {u"unused"}), u"no placeholders");
}

TEST(FormatCaption, KeepsLettersNoSingleCodePageHolds) {
    // Polish, French and Cyrillic letters side by side: 8-bit composing would lose some of them.
    EXPECT_EQ(FormatCaption(u"Jeżeli %s jest uruchomiony, należy go zamknąć", {u"Élan – Ключ"}),
              u"Jeżeli Élan – Ключ jest uruchomiony, należy go zamknąć");
}

TEST(FormatCaption, OddSequencesAreHarmless) {
    EXPECT_EQ(FormatCaption(u"100%% %s", {u"done"}), u"100% done");
    EXPECT_EQ(FormatCaption(u"%s and %s", {u"one"}), u"one and ");
    EXPECT_EQ(FormatCaption(u"%d %x %", {u"x"}), u"%d %x %");
    EXPECT_EQ(FormatCaption(u"%s", {u"%s"}), u"%s");  // arguments are not formatted again
    EXPECT_EQ(FormatCaption(u"", {}), u"");
}

TEST(AccessKeys, FirstFreeAsciiLetterAndLiteralAmpersandsKept) {
    EXPECT_EQ(WithAccessKey(u"Uaktualnij", 0), u"&Uaktualnij");
    EXPECT_EQ(WithAccessKey(u"Zakończ", AccessKeyOf(u"&Uaktualnij")), u"&Zakończ");
    EXPECT_EQ(WithAccessKey(u"Update", u'U'), u"U&pdate");  // the other button has U already
    EXPECT_EQ(WithAccessKey(u"Łącz", 0), u"Łą&cz");         // no letters that need AltGr
    EXPECT_EQ(WithAccessKey(u"R&D", 0), u"&R&&D");
    EXPECT_EQ(WithAccessKey(u"ąę", 0), u"ąę");  // no key rather than a letter few can type
    EXPECT_EQ(AccessKeyOf(u"&R&&D"), u'r');
    EXPECT_EQ(AccessKeyOf(u"R&&&D"), u'd');
    EXPECT_EQ(AccessKeyOf(u"R&&D"), 0);
    EXPECT_EQ(AccessKeyOf(u"ends with &"), 0);
}

}  // namespace
}  // namespace updater::app
