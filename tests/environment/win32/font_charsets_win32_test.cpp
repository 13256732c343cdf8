// The real GDI font list.
//
// What the test prefix offers (Wine 8.0 of Debian 12, fresh prefix, fonts from fontconfig):
// EnumFontFamiliesExA enumerates no font for "Arial" and none for "Tahoma" (Wine's own tahoma.ttf
// is not loaded into the prefix), so FontHasCharset is false for both and the interface face stays
// "Arial". Fonts created for either face are served by "Liberation Sans", which enumerates ANSI,
// EASTEUROPE, RUSSIAN, GREEK, TURKISH and BALTIC. The tests therefore take an installed face from
// the system's own enumeration instead of assuming one.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/win32/scoped_win.h"
#include "environment/font_charsets.h"
#include "localisation/language.h"

namespace updater::environment {
namespace {

std::vector<std::string> Charsets(std::string_view face) {
    std::vector<std::string> list;
    ListFontCharsets(face, list);
    return list;
}

TEST(ListFontCharsetsWin32, UnknownOrOverlongFaceYieldsNothing) {
    EXPECT_TRUE(Charsets("No Such Face 7f3a").empty());
    EXPECT_TRUE(Charsets(std::string(40, 'T')).empty());
    EXPECT_FALSE(FontHasCharset(&ListFontCharsets, "No Such Face 7f3a", "ANSI_CHARSET"));
    EXPECT_FALSE(FontHasCharset(&ListFontCharsets, "No Such Face 7f3a", "DEFAULT_CHARSET"));
}

// Every family the system enumerates with the character sets it offers, gathered independently
// through the wide API.
using Families = std::map<std::string, std::set<int>>;

int CALLBACK CollectFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM found) {
    std::string face;
    for (const wchar_t* c = font->lfFaceName; *c != L'\0'; ++c) {
        if (*c > 0x7F) return 1;  // plain ASCII names only, to pass through the 8-bit API
        face += static_cast<char>(*c);
    }
    if (!face.empty() && face[0] != '@') (*reinterpret_cast<Families*>(found))[face].insert(font->lfCharSet);
    return 1;
}

Families InstalledFamilies(const wchar_t* face = L"") {
    Families families;
    const base::win32::ScopedGetDC dc(nullptr);
    if (dc.get() == nullptr) return families;
    LOGFONTW all{};
    all.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(all.lfFaceName, face, LF_FACESIZE - 1);
    EnumFontFamiliesExW(dc.get(), &all, &CollectFamily, reinterpret_cast<LPARAM>(&families), 0);
    return families;
}

TEST(ListFontCharsetsWin32, AppendsOneNameForEachFontOfTheFace) {
    const Families families = InstalledFamilies();
    if (families.empty()) GTEST_SKIP() << "no fonts installed";
    const auto& [face, charsets] = *families.begin();
    std::vector<std::string> list = {"kept"};
    ListFontCharsets(face, list);
    ASSERT_GT(list.size(), 1u) << face;
    EXPECT_EQ(list.front(), "kept");
    std::set<std::string> expected;
    for (int charset : charsets)
        expected.insert(CharsetName(charset));
    EXPECT_EQ(std::set<std::string>(list.begin() + 1, list.end()), expected) << face;
    EXPECT_TRUE(FontHasCharset(&ListFontCharsets, face, CharsetName(*charsets.begin())));
    EXPECT_FALSE(FontHasCharset(&ListFontCharsets, face, "Unknown charset 3"));
}

TEST(ChooseInterfaceFontNameWin32, AgreesWithTheSystemFonts) {
    const bool arial = FontHasCharset(&ListFontCharsets, "Arial", "EASTEUROPE_CHARSET");
    const bool tahoma = FontHasCharset(&ListFontCharsets, "Tahoma", "EASTEUROPE_CHARSET");
    const std::string chosen = ChooseInterfaceFontName(&ListFontCharsets);
    EXPECT_EQ(chosen, (!arial && tahoma) ? "Tahoma" : "Arial");
    const std::string saved = localisation::UIFontName();
    InitialiseInterfaceFont();
    EXPECT_EQ(localisation::UIFontName(), chosen);
    localisation::SetUIFontName(saved);
}

// The two faces the interface chooses between, installed or not, are listed exactly as the wide
// API enumerates them on this system.
TEST(ListFontCharsetsWin32, TheInterfaceFacesAreListedAsTheSystemEnumeratesThem) {
    for (const auto& [face, wideFace] : {std::pair{"Arial", L"Arial"}, std::pair{"Tahoma", L"Tahoma"}}) {
        std::set<std::string> expected;
        for (const auto& [name, charsets] : InstalledFamilies(wideFace)) {
            if (name != face) continue;
            for (int charset : charsets)
                expected.insert(CharsetName(charset));
        }
        const std::vector<std::string> listed = Charsets(face);
        EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), expected) << face;
        EXPECT_EQ(FontHasCharset(&ListFontCharsets, face, "EASTEUROPE_CHARSET"),
                  expected.count("EASTEUROPE_CHARSET") == 1)
            << face;
    }
}

}  // namespace
}  // namespace updater::environment
