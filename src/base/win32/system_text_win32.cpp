#include "base/system_text.h"
#include "base/win32/system_code_page.h"

namespace updater::base {

std::u16string WidenSystemText(std::string_view text) {
    const std::wstring wide = win32::WidenSystem(text);
    return {wide.begin(), wide.end()};
}

std::string NarrowSystemText(std::u16string_view text) {
    return win32::NarrowSystem(std::wstring(text.begin(), text.end()));
}

}  // namespace updater::base
