#pragma once
// Conversions between the product's 8-bit strings (system code page) and UTF-16 for the wide
// Win32 APIs. Windows only.

#include <string>
#include <string_view>

namespace updater::base::win32 {

std::wstring WidenSystem(std::string_view text);
std::string NarrowSystem(std::wstring_view text);
std::string NarrowUtf8(std::wstring_view text);

}  // namespace updater::base::win32
