#include "localisation/text_catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "base/unicode.h"
#include "localisation/catalogue_source.h"

namespace updater::localisation {
namespace {

using namespace catalogue;

constexpr Platform kNT{true, 0};

// The translators' source itself: what every stored text must read back as.
constexpr SourceRow kSource[] = {
#include "localisation/interface_texts.inc"
};

// The ids the update program shows.
const std::set<int> kUsedIds = {6,   7,   181, 182, 183, 261, 262, 263, 264, 265, 266, 267, 268,
                                269, 270, 271, 272, 273, 274, 275, 276, 277, 278, 279, 280};

const SourceRow* SourceOf(int id) {
    const auto row =
        std::find_if(std::begin(kSource), std::end(kSource), [&](const SourceRow& r) { return r.id == id; });
    return row == std::end(kSource) ? nullptr : row;
}

// A source text as GetText returns it on an NT-class platform, in UTF-8: line breaks are CR LF and
// apostrophes come out as primes.
std::string AsShown(std::u8string_view source) {
    std::string shown;
    for (const char8_t c : source) {
        if (c == u8'\n') {
            shown += "\r\n";
        } else if (c == u8'\'') {
            shown += "\xE2\x80\xB2";
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown;
}

std::string Shown(std::uint8_t language, int id, const Platform& platform = kNT) {
    return base::Utf8FromUtf16(GetText(language, id, false, platform));
}

// Every text reads back in every column as its source wrote it: the build's conversion into the
// columns' code pages and GetText's conversion back agree. Ids the source leaves out are empty.
TEST(TextCatalogue, EveryTextReadsBackAsWritten) {
    for (int id = kFirstTextId; id <= kLastTextId; ++id) {
        const SourceRow* row = SourceOf(id);
        if (row == nullptr) {
            for (std::uint8_t column = 0; column < kColumnCount; ++column)
                EXPECT_EQ(StoredText(id, column), "") << id;
            continue;
        }
        EXPECT_EQ(Shown(0, id), AsShown(row->pl)) << id;
        const SourceCell* western[] = {&row->en, &row->fr, &row->de, &row->it, &row->es};
        for (std::uint8_t column = 1; column <= 5; ++column) {
            const SourceCell& cell = *western[column - 1];
            // A column "as Polish" holds the Polish bytes, read in the column's own code page.
            if (cell.asPolish) {
                EXPECT_EQ(StoredText(id, column), StoredText(id, 0)) << id << " " << int{column};
            } else {
                EXPECT_EQ(Shown(column, id), AsShown(cell.text)) << id << " " << int{column};
            }
        }
        // Hungarian reads the Polish bytes.
        EXPECT_EQ(Shown(7, id), AsShown(row->pl)) << id;
        // Russian: the Polish bytes, nothing, the Polish bytes behind the marker, or its own text.
        const std::string_view russian = StoredText(id, kRussianColumn);
        switch (row->ru.kind) {
            case RussianKind::kAsPolish:
                EXPECT_EQ(russian, StoredText(id, 0)) << id;
                break;
            case RussianKind::kEmpty:
                EXPECT_EQ(russian, "") << id;
                break;
            case RussianKind::kMarkedPolish:
                EXPECT_EQ(russian, kMarker + std::string(StoredText(id, 0))) << id;
                EXPECT_EQ(kUsedIds.count(id), 0u) << "the update program shows no marked text: " << id;
                break;
            case RussianKind::kOwnText:
                EXPECT_EQ(Shown(6, id), AsShown(row->ru.text)) << id;
                break;
        }
    }
}

TEST(TextCatalogue, OutsideTheRangeIsEmpty) {
    EXPECT_EQ(GetText(0, 321, false, kNT), u"");
    EXPECT_EQ(GetText(0, 0, false, kNT), u"");
    EXPECT_EQ(GetText(1, -7, false, kNT), u"");
    EXPECT_EQ(GetText(1, INT32_MIN, false, kNT), u"");
    EXPECT_EQ(GetText(1, INT32_MAX, false, kNT), u"");
    EXPECT_EQ(StoredText(7, 7), "");
}

// The code pages' own bytes, so that the round trip above cannot pass on one wrong map used both ways.
TEST(TextCatalogue, StoredBytesOfTheWindowsCodePages) {
    EXPECT_EQ(StoredText(7, 0),
              "Zako\xF1"
              "cz");
    EXPECT_EQ(StoredText(261, 4), "%s \x96 Attualizzazione");
    EXPECT_NE(StoredText(272, 5).find("\x84"
                                      "Finish\x94"),
              std::string_view::npos);
    EXPECT_EQ(StoredText(10, 6), "\xC2zyk");
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
    EXPECT_EQ(Shown(0x81, 276), AsShown(u8"File '%s' is being updated ... "));
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
