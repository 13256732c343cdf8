// A stand-in for another program at work in a folder while the updater writes there: it watches
// the folder and acts once on every new "*.tmp" file in it. Once it watches, it creates
// STOPFILE.ready; it ends when STOPFILE appears or after a minute, and prints how many files it
// got hold of ("held: N").
//
//   scanner FOLDER reader|target|writer MILLISECONDS STOPFILE
//
// reader is a virus scanner that opens the new file the moment it can, for reading and sharing
// everything (all that another program may do while the updater holds its new file), and keeps it
// for MILLISECONDS. target opens the file the new one is to replace (its name less ".~XXXXXXXX.tmp")
// for reading, sharing only reading, as a program reading it does, and keeps it for MILLISECONDS.
// writer is hostile: it tries again and again to open every new file for writing and writes "EVIL"
// at its start, until the file is gone; it counts the files it got into.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <set>
#include <string>
#include <vector>

#include "base/win32/scoped_win.h"

namespace {

using updater::base::win32::FindHandle;
using updater::base::win32::UniqueHandle;

constexpr DWORD kGiveUpAfterMs = 60'000;

std::vector<std::wstring> TemporaryFilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const FindHandle search(FindFirstFileW((folder + L"\\*.tmp").c_str(), &found));
    if (!search.IsOpen()) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileW(search.Get(), &found));
    return names;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

enum class Kind { kReader, kTarget, kWriter };

// The name the temporary file is to replace: "Quorbel2.exe" for "Quorbel2.exe.~0badf00d.tmp".
std::wstring TargetOf(const std::wstring& name) {
    constexpr std::size_t kSuffix = 14;  // ".~" eight hexadecimal digits ".tmp"
    return name.size() > kSuffix ? name.substr(0, name.size() - kSuffix) : name;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: scanner FOLDER reader|target|writer MILLISECONDS STOPFILE\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    const std::wstring kindName = argv[2];
    const Kind kind = kindName == L"writer" ? Kind::kWriter : kindName == L"target" ? Kind::kTarget : Kind::kReader;
    const DWORD holdMs = static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10));
    const std::wstring stopFile = argv[4];

    std::set<std::wstring> seen;
    unsigned got = 0;
    const DWORD start = GetTickCount();
    auto timeUp = [&] { return GetTickCount() - start >= kGiveUpAfterMs; };
    UniqueHandle(CreateFileW((stopFile + L".ready").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    while (!Exists(stopFile) && !timeUp()) {
        for (const std::wstring& name : TemporaryFilesIn(folder)) {
            if (seen.count(name) != 0) continue;
            seen.insert(name);
            const std::wstring path = folder + L"\\" + name;
            if (kind == Kind::kTarget) {
                UniqueHandle file(CreateFileW((folder + L"\\" + TargetOf(name)).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
                if (file.IsOpen()) {
                    ++got;
                    Sleep(holdMs);
                }
                continue;
            }
            const DWORD access = kind == Kind::kWriter ? GENERIC_WRITE : GENERIC_READ;
            // Again and again until it is gone: the writer would get in at any moment the updater
            // let it.
            while (Exists(path) && !timeUp()) {
                UniqueHandle file(CreateFileW(path.c_str(), access,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
                if (!file.IsOpen()) continue;
                ++got;
                if (kind == Kind::kWriter) {
                    DWORD written = 0;
                    WriteFile(file.Get(), "EVIL", 4, &written, nullptr);
                } else {
                    Sleep(holdMs);
                }
                break;
            }
        }
        Sleep(0);
    }
    std::printf("held: %u\n", got);
    return 0;
}
