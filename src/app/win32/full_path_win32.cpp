#include <windows.h>

#include "app/full_path.h"

#include <vector>

#include "base/win32/system_code_page.h"

namespace updater::app {

std::string FullPathAsOpened(const std::string& path) {
    const std::wstring wide = base::win32::WidenSystem(path);
    std::vector<wchar_t> full(MAX_PATH);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD n = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (n == 0) return path;
        if (n < full.size()) return base::win32::NarrowSystem(std::wstring_view(full.data(), n));
        full.resize(n + 1);
    }
    return path;
}

}  // namespace updater::app
