#include <windows.h>

#include <cstring>

#include "base/win32/scoped_win.h"
#include "environment/font_charsets.h"

namespace updater::environment {
namespace {

int CALLBACK CollectCharset(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM list) {
    reinterpret_cast<std::vector<std::string>*>(list)->push_back(CharsetName(font->lfCharSet));
    return 1;  // go on with the next font
}

}  // namespace

void ListFontCharsets(std::string_view faceName, std::vector<std::string>& list) {
    if (faceName.size() >= LF_FACESIZE) return;
    const base::win32::ScopedGetDC dc(GetDesktopWindow());
    if (dc.get() == nullptr) return;
    LOGFONTA wanted{};
    if (!faceName.empty()) std::memcpy(wanted.lfFaceName, faceName.data(), faceName.size());
    wanted.lfCharSet = DEFAULT_CHARSET;  // every character set of the face
    EnumFontFamiliesExA(dc.get(), &wanted, &CollectCharset, reinterpret_cast<LPARAM>(&list), 0);
}

}  // namespace updater::environment
