#pragma once
// Another program's handle on a file, as the tests play it: opened with the given access and
// sharing, held until Close() or the end of the scope.
#include <windows.h>

#include <string>

#include "base/win32/scoped_win.h"
#include "base/win32/system_code_page.h"

namespace updater::test {

class HeldFile {
  public:
    HeldFile(const std::string& path, DWORD access, DWORD share)
        : handle_(CreateFileW(base::win32::WidenSystem(path).c_str(), access, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {}

    bool IsOpen() const { return handle_.IsOpen(); }
    void Close() { handle_.Close(); }

  private:
    base::win32::UniqueHandle handle_;
};

}  // namespace updater::test
