#include "localisation/win32/interface_font.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include "base/win32/system_code_page.h"
#include "localisation/language.h"

namespace updater::localisation::win32 {

void ApplyInterfaceFont(LOGFONTW& font, std::uint8_t language) {
    const std::wstring face = base::win32::WidenSystem(UIFontName());
    // The face field holds 31 characters and the terminator.
    const std::size_t length = std::min(face.size(), static_cast<std::size_t>(LF_FACESIZE - 1));
    std::wmemset(font.lfFaceName, L'\0', LF_FACESIZE);
    std::wmemcpy(font.lfFaceName, face.data(), length);
    font.lfCharSet = FontCharsetFor(language);
}

}  // namespace updater::localisation::win32
