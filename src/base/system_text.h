#pragma once
// The product's 8-bit strings (file names, paths: the system code page on Windows, UTF-8 natively)
// as UTF-16 for the window, and back.

#include <string>
#include <string_view>

namespace updater::base {

std::u16string WidenSystemText(std::string_view text);
std::string NarrowSystemText(std::u16string_view text);

}  // namespace updater::base
