// The maps against Windows' own code-page tables.
#include <windows.h>

#include <gtest/gtest.h>

#include "localisation/code_page_reference.h"
#include "localisation/conversion_maps.h"

namespace updater::localisation {
namespace {

test::ReferenceTable SystemTable(UINT codePage) {
    test::ReferenceTable table{};
    for (int b = 0; b < 256; ++b) {
        const char in = static_cast<char>(b);
        wchar_t out[2] = {};
        const int count = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, &in, 1, out, 2);
        table[b] = count == 1 ? static_cast<char16_t>(out[0]) : test::kNoReference;
    }
    return table;
}

TEST(ConversionMapsWin32, FollowTheSystemCodePagesExceptWhereStated) {
    for (const auto& mapCase : test::kMapCases) {
        UINT codePage = 0;
        switch (mapCase.reference) {
            case test::Reference::kIso8859_1:
                codePage = 28591;
                break;
            case test::Reference::kWindows1250:
                codePage = 1250;
                break;
            case test::Reference::kWindows1251:
                codePage = 1251;
                break;
            case test::Reference::kWindows1252:
                codePage = 1252;
                break;
        }
        test::ExpectMapFollowsReference(mapCase, SystemTable(codePage));
    }
}

}  // namespace
}  // namespace updater::localisation
