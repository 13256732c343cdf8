#pragma once
// The file layer's reason for a Win32 error: one mapping for every room that calls Windows' file
// functions itself.
#include <windows.h>

#include "base/file_system.h"

namespace updater::base::win32 {

// error: GetLastError(), or an NTSTATUS already turned into such a code.
FileError FileErrorFrom(DWORD error);

}  // namespace updater::base::win32
