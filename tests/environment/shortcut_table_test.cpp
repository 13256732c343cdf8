#include "environment/shortcut_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <tuple>

#include "environment/product_titles.h"

namespace updater::environment {
namespace {

constexpr std::uint8_t kPolishBit = 1;
constexpr std::uint8_t kEnglishBit = 2;

// Captions and titles become file and folder names.
bool UsableAsFileName(std::string_view name) {
    if (name.empty() || name.back() == ' ' || name.back() == '.') return false;
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
            return false;
    }
    return true;
}

TEST(ShortcutTable, RowsAreWellFormed) {
    const auto rows = ShortcutTable();
    ASSERT_EQ(rows.size(), kShortcutRows);
    std::set<int> flagsSeen;
    for (const TShortcutInfo& row : rows) {
        SCOPED_TRACE(std::string(row.fileName));
        EXPECT_TRUE(UsableAsFileName(row.fileName));
        EXPECT_TRUE(UsableAsFileName(row.caption)) << "a caption names the link file";
        EXPECT_NE(row.languages, 0);
        EXPECT_EQ(row.flags & ~0x1F, 0) << "only the installer's five bits";
        for (int bit = 1; bit <= 16; bit <<= 1)
            if (row.flags & bit) flagsSeen.insert(bit);
        bool anyProduct = false;
        for (int n = 0; n < 256; ++n) {
            if (!row.products.Contains(n)) continue;
            anyProduct = true;
            EXPECT_TRUE(n >= kFirstTitledAppId && n <= kLastTitledAppId) << n;
        }
        EXPECT_TRUE(anyProduct);
    }
    EXPECT_EQ(flagsSeen, (std::set<int>{1, 2, 4, 8, 16}));
}

// Two Start-menu rows of one product with the same caption in one language would write the
// same link file.
TEST(ShortcutTable, StartMenuCaptionsAreUniquePerProductAndLanguage) {
    std::set<std::tuple<int, int, std::string_view>> seen;
    for (const TShortcutInfo& row : ShortcutTable()) {
        if ((row.flags & kShortcutFlagStartMenu) == 0) continue;
        for (int appId = kFirstTitledAppId; appId <= kLastTitledAppId; ++appId) {
            if (!row.products.Contains(appId)) continue;
            for (int language = 0; language < 8; ++language) {
                if (!HasLanguage(row, language)) continue;
                EXPECT_TRUE(seen.insert({appId, language, row.caption}).second)
                    << appId << " " << language << " " << row.caption;
            }
        }
    }
}

TEST(ShortcutTable, TheWebTranslatorRowsOfTheEnglishProduct) {
    std::set<std::uint8_t> languages;
    for (const TShortcutInfo& row : ShortcutTable()) {
        if (row.fileName != "Quorbelpl2.exe" || !row.products.Contains(6)) continue;
        EXPECT_NE(row.flags & kShortcutFlagStartMenu, 0);
        languages.insert(row.languages);
    }
    EXPECT_EQ(languages, (std::set<std::uint8_t>{kPolishBit, kEnglishBit}));
}

TEST(ProductTitles, EveryProductHasAPolishTitleAndUsableNames) {
    EXPECT_EQ(ProductTitle(6, 0), "Lexivo Angielskiego 2.5");
    EXPECT_EQ(ProductTitle(6, 1), "Lexivo English 2.5");
    for (int language = 2; language < kTitleLanguages; ++language)
        EXPECT_EQ(ProductTitle(6, language), "") << language;
    for (int appId = kFirstTitledAppId; appId <= kLastTitledAppId; ++appId) {
        EXPECT_FALSE(ProductTitle(appId, 0).empty()) << appId;
        int titles = 0;
        for (int language = 0; language < kTitleLanguages; ++language) {
            const std::string_view title = ProductTitle(appId, language);
            if (title.empty()) continue;
            ++titles;
            EXPECT_TRUE(UsableAsFileName(title)) << appId;
            // The group may be found by the title less its last two characters: still a name.
            EXPECT_GT(title.size(), 2u);
        }
        EXPECT_GE(titles, appId == 10 ? 1 : 2) << "the Polish title and the product language's";
    }
    for (auto [appId, language] : {std::pair{0, 0}, {14, 0}, {-1, 1}, {6, 8}, {6, -1}})
        EXPECT_EQ(ProductTitle(appId, language), "") << appId << " " << language;
}

}  // namespace
}  // namespace updater::environment
