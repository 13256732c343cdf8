#include <windows.h>

#include "base/win32/system_code_page.h"

namespace updater::base::win32 {
namespace {

std::string Narrow(UINT codePage, std::wstring_view text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

}  // namespace

std::wstring WidenSystem(std::string_view text) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string NarrowSystem(std::wstring_view text) {
    return Narrow(CP_ACP, text);
}
std::string NarrowUtf8(std::wstring_view text) {
    return Narrow(CP_UTF8, text);
}

}  // namespace updater::base::win32
