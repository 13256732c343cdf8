#include <windows.h>

#include <cstring>

#include "environment/font_charsets.h"

namespace updater::environment {
namespace {

int CALLBACK CollectCharset(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM list) {
    reinterpret_cast<std::vector<std::string>*>(list)->push_back(CharsetName(font->lfCharSet));
    return 1;  // go on with the next font
}

// The desktop window's display context, released on every way out.
class DesktopContext {
  public:
    DesktopContext() : window_(GetDesktopWindow()), dc_(GetDC(window_)) {}
    ~DesktopContext() {
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
    }
    DesktopContext(const DesktopContext&) = delete;
    DesktopContext& operator=(const DesktopContext&) = delete;
    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

}  // namespace

void ListFontCharsets(std::string_view faceName, std::vector<std::string>& list) {
    if (faceName.size() >= LF_FACESIZE) return;
    DesktopContext dc;
    if (dc.get() == nullptr) return;
    LOGFONTA wanted{};
    if (!faceName.empty()) std::memcpy(wanted.lfFaceName, faceName.data(), faceName.size());
    wanted.lfCharSet = DEFAULT_CHARSET;  // every character set of the face
    EnumFontFamiliesExA(dc.get(), &wanted, &CollectCharset, reinterpret_cast<LPARAM>(&list), 0);
}

}  // namespace updater::environment
