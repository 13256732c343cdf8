// A stand-in for a virus scanner: it watches a folder and opens every new "*.tmp" file in it the
// moment it can, holds it for a while and lets go, once per file. Once it watches, it creates
// STOPFILE.ready; it ends when STOPFILE appears or after a minute, and prints how many files it held.
//
//   scanner FOLDER exclusive|shared MILLISECONDS STOPFILE
//
// exclusive opens with no sharing at all, as a scanner that wants the file to itself does: nobody
// may open, delete or rename it meanwhile. shared lets others read and write, but not delete or
// rename it.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <set>
#include <string>
#include <vector>

#include "base/win32/unique_handle.h"

namespace {

using updater::base::win32::UniqueHandle;

constexpr DWORD kGiveUpAfterMs = 60'000;

std::vector<std::wstring> TemporaryFilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: scanner FOLDER exclusive|shared MILLISECONDS STOPFILE\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    const bool exclusive = std::wcscmp(argv[2], L"exclusive") == 0;
    const DWORD holdMs = static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10));
    const std::wstring stopFile = argv[4];
    const DWORD share = exclusive ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;

    std::set<std::wstring> held;
    const DWORD start = GetTickCount();
    UniqueHandle(CreateFileW((stopFile + L".ready").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    while (!Exists(stopFile) && GetTickCount() - start < kGiveUpAfterMs) {
        for (const std::wstring& name : TemporaryFilesIn(folder)) {
            if (held.count(name) != 0) continue;
            // The writer holds the file without sharing until it closes it: try again and again,
            // to get it the moment it is closed, until it has gone.
            const std::wstring path = folder + L"\\" + name;
            for (;;) {
                UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
                if (file.IsOpen()) {
                    held.insert(name);
                    Sleep(holdMs);
                    break;
                }
                const DWORD error = GetLastError();
                if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) break;
                if (GetTickCount() - start >= kGiveUpAfterMs) break;
            }
        }
        Sleep(0);
    }
    std::printf("held: %u\n", static_cast<unsigned>(held.size()));
    return 0;
}
