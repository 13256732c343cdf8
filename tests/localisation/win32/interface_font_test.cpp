#include "localisation/win32/interface_font.h"

#include <gtest/gtest.h>

#include <string>

#include "localisation/language.h"

namespace updater::localisation::win32 {
namespace {

// Restores the process-wide face after a test that changes it.
class FaceGuard {
  public:
    FaceGuard() : saved_(UIFontName()) {}
    ~FaceGuard() { SetUIFontName(saved_); }

  private:
    std::string saved_;
};

LOGFONTW BoldItalic() {
    LOGFONTW font{};
    font.lfHeight = -13;
    font.lfWeight = FW_BOLD;
    font.lfItalic = TRUE;
    font.lfUnderline = TRUE;
    font.lfCharSet = ANSI_CHARSET;
    wcscpy(font.lfFaceName, L"Courier New Something Long");
    return font;
}

TEST(ApplyInterfaceFontWin32, SetsFaceAndCharsetKeepsTheRest) {
    FaceGuard guard;
    SetUIFontName("Tahoma");
    const struct {
        std::uint8_t language;
        BYTE charset;
    } kCases[] = {{0, EASTEUROPE_CHARSET},
                  {1, EASTEUROPE_CHARSET},
                  {2, ANSI_CHARSET},
                  {6, RUSSIAN_CHARSET},
                  {8, RUSSIAN_CHARSET}};
    for (const auto& c : kCases) {
        LOGFONTW font = BoldItalic();
        ApplyInterfaceFont(font, c.language);
        EXPECT_STREQ(font.lfFaceName, L"Tahoma");
        EXPECT_EQ(font.lfCharSet, c.charset) << int{c.language};
        EXPECT_EQ(font.lfHeight, -13);
        EXPECT_EQ(font.lfWeight, FW_BOLD);
        EXPECT_TRUE(font.lfItalic);
        EXPECT_TRUE(font.lfUnderline);
    }
}

TEST(ApplyInterfaceFontWin32, OverlongFaceIsCutToTheField) {
    FaceGuard guard;
    SetUIFontName(std::string(40, 'F'));
    LOGFONTW font = BoldItalic();
    ApplyInterfaceFont(font, 0);
    EXPECT_EQ(std::wstring(font.lfFaceName), std::wstring(LF_FACESIZE - 1, L'F'));
}

}  // namespace
}  // namespace updater::localisation::win32
