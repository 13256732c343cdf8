#include <windows.h>

#include "patch/replaceable.h"

#include "base/win32/file_error.h"
#include "base/win32/scoped_win.h"
#include "base/win32/system_code_page.h"

namespace updater::patch {

base::FileError CheckReplaceable(const std::string& path) {
    const std::wstring wide = base::win32::WidenSystem(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return base::win32::FileErrorFrom(GetLastError());
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return base::FileError::kAccessDenied;
    // Sharing nothing: refused while any other program has the file open, however it shares it.
    const base::win32::UniqueHandle file(
        CreateFileW(wide.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.IsOpen() ? base::FileError::kNone : base::win32::FileErrorFrom(GetLastError());
}

}  // namespace updater::patch
