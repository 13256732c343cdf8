#pragma once
// A file handle that closes itself however the scope is left. Header-only, so that programs which
// link no room (the tests' scanner, the planted marker DLL) use the same one. Empty is
// INVALID_HANDLE_VALUE, what CreateFile returns when it fails.
#include <windows.h>

namespace updater::base::win32 {

class UniqueHandle {
  public:
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    ~UniqueHandle() {
        if (IsOpen()) CloseHandle(handle_);
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

  private:
    HANDLE handle_;
};

}  // namespace updater::base::win32
