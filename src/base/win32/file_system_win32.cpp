// Win32 implementation of the file system: wide APIs on paths widened from the system code page.
#include <windows.h>

#include "base/file_system.h"
#include "base/win32/system_code_page.h"

namespace updater::base {
namespace {

FileError FromLastError(DWORD e) {
    switch (e) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_NETPATH:
            return FileError::kNotFound;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
            return FileError::kAccessDenied;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return FileError::kSharingViolation;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return FileError::kAlreadyExists;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return FileError::kDiskFull;
        default:
            return FileError::kIo;
    }
}

HANDLE AsHandle(std::intptr_t h) {
    return reinterpret_cast<HANDLE>(h);
}

FileResult<File> Open(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
    HANDLE h = CreateFileW(win32::WidenSystem(path).c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return FromLastError(GetLastError());
    return File::Adopt(reinterpret_cast<std::intptr_t>(h));
}

DWORD Attributes(const std::string& path) {
    return GetFileAttributesW(win32::WidenSystem(path).c_str());
}

}  // namespace

FileResult<File> File::OpenForReading(const std::string& path, ReadShare share) {
    DWORD mode =
        share == ReadShare::kDenyWriters ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    return Open(path, GENERIC_READ, mode, OPEN_EXISTING);
}

FileResult<File> File::CreateNew(const std::string& path) {
    return Open(path, GENERIC_WRITE, 0, CREATE_NEW);
}

FileResult<File> File::CreateOrTruncate(const std::string& path) {
    return Open(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
}

FileResult<std::size_t> File::Read(std::span<std::uint8_t> buffer) {
    if (!IsOpen()) return FileError::kIo;
    DWORD want = buffer.size() > 0x40000000u ? 0x40000000u : static_cast<DWORD>(buffer.size());
    DWORD got = 0;
    if (!ReadFile(AsHandle(handle_), buffer.data(), want, &got, nullptr)) return FromLastError(GetLastError());
    return static_cast<std::size_t>(got);
}

FileError File::Seek(std::int64_t offset) {
    if (!IsOpen() || offset < 0) return FileError::kIo;
    LARGE_INTEGER to;
    to.QuadPart = offset;
    return SetFilePointerEx(AsHandle(handle_), to, nullptr, FILE_BEGIN) ? FileError::kNone
                                                                        : FromLastError(GetLastError());
}

FileResult<std::int64_t> File::Size() const {
    LARGE_INTEGER size;
    if (!IsOpen() || !GetFileSizeEx(AsHandle(handle_), &size)) return FileError::kIo;
    return static_cast<std::int64_t>(size.QuadPart);
}

FileError File::Write(std::span<const std::uint8_t> bytes) {
    if (!IsOpen()) return FileError::kIo;
    while (!bytes.empty()) {
        DWORD chunk = bytes.size() > 0x40000000u ? 0x40000000u : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(AsHandle(handle_), bytes.data(), chunk, &written, nullptr)) return FromLastError(GetLastError());
        if (written == 0) return FileError::kDiskFull;
        bytes = bytes.subspan(written);
    }
    return FileError::kNone;
}

FileError File::Flush() {
    if (!IsOpen()) return FileError::kIo;
    return FlushFileBuffers(AsHandle(handle_)) ? FileError::kNone : FromLastError(GetLastError());
}

FileError File::Close() {
    if (!IsOpen()) return FileError::kNone;
    HANDLE h = AsHandle(handle_);
    handle_ = kNoHandle;
    return CloseHandle(h) ? FileError::kNone : FromLastError(GetLastError());
}

bool FileExists(const std::string& path) {
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

FileError RemoveFile(const std::string& path) {
    return DeleteFileW(win32::WidenSystem(path).c_str()) ? FileError::kNone : FromLastError(GetLastError());
}

FileError MoveIntoPlace(const std::string& source, const std::string& target) {
    const std::wstring from = win32::WidenSystem(source);
    const std::wstring to = win32::WidenSystem(target);
    // A read-only target must stay: MoveFileEx would not always refuse it.
    DWORD a = GetFileAttributesW(to.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return FileError::kAccessDenied;
    FileError result = FileError::kIo;
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return FileError::kNone;
        result = FromLastError(GetLastError());
        if (result != FileError::kSharingViolation && result != FileError::kAccessDenied) break;
        Sleep(100);  // a virus scanner or indexer holding the new file lets go within moments
    }
    return result;
}

FileResult<std::vector<std::string>> FileNamesIn(const std::string& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileExW((win32::WidenSystem(folder) + L"\\*").c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD e = GetLastError();
        if (e == ERROR_FILE_NOT_FOUND) return std::vector<std::string>();
        return FromLastError(e);
    }
    std::vector<std::string> names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(win32::NarrowSystem(found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

char PathSeparator() {
    return '\\';
}

}  // namespace updater::base
