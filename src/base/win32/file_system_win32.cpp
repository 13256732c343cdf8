// Win32 implementation of the file system: wide APIs on paths widened from the system code page.
// What happens inside a held folder goes through the native calls, which alone open a name
// relative to a folder's handle and rename a file through its own handle into such a folder.
#include <windows.h>
// After windows.h:
#include <sddl.h>
#include <winternl.h>

#include <vector>

#include "base/file_system.h"
#include "base/win32/file_error.h"
#include "base/win32/scoped_win.h"
#include "base/win32/system_code_page.h"

namespace updater::base {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE AsHandle(std::intptr_t h) {
    return reinterpret_cast<HANDLE>(h);
}

FileError LastError() {
    return win32::FileErrorFrom(GetLastError());
}

FileError Check(BOOL succeeded) {
    return succeeded ? FileError::kNone : LastError();
}

HANDLE OpenHandle(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
    return CreateFileW(win32::WidenSystem(path).c_str(), access, share, nullptr, disposition, flags, nullptr);
}

FileResult<File> Open(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
    HANDLE h = OpenHandle(path, access, share, disposition, FILE_ATTRIBUTE_NORMAL);
    if (h == INVALID_HANDLE_VALUE) return LastError();
    return File::Adopt(reinterpret_cast<std::intptr_t>(h));
}

DWORD Attributes(const std::string& path) {
    return GetFileAttributesW(win32::WidenSystem(path).c_str());
}

using win32::UniqueHandle;

FileIdentity IdentityFrom(const BY_HANDLE_FILE_INFORMATION& info) {
    return {info.dwVolumeSerialNumber,
            (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | static_cast<std::uint64_t>(info.nFileIndexLow)};
}

// The identity of the file an open handle leads to.
FileResult<FileIdentity> IdentityOfHandle(HANDLE h) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(h, &info)) return LastError();
    return IdentityFrom(info);
}

// Marks the file to go when its last handle closes.
FileError MarkForDeletion(HANDLE h) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    return Check(SetFileInformationByHandle(h, FileDispositionInfo, &disposition, sizeof disposition));
}

// The path the system resolved an open handle to, links followed; empty if it cannot say.
std::wstring FinalPathOf(HANDLE handle) {
    std::wstring path(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD n = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), 0);
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(n + 1);
    }
    return {};
}

FileError FromStatus(NTSTATUS status) {
    return win32::FileErrorFrom(RtlNtStatusToDosError(status));
}

// A name of the folder itself, not a path through other folders.
bool IsPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("\\/:") == std::string_view::npos;
}

// Opens name relative to the held folder's handle: the name is looked up in that folder, whatever
// its path leads to now.
NTSTATUS OpenInFolder(HANDLE folder, const std::wstring& name, ACCESS_MASK access, ULONG share, ULONG disposition,
                      ULONG options, PSECURITY_DESCRIPTOR security, HANDLE& opened) {
    UNICODE_STRING objectName;
    objectName.Buffer = const_cast<wchar_t*>(name.c_str());
    objectName.Length = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    objectName.MaximumLength = objectName.Length;
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &objectName, OBJ_CASE_INSENSITIVE, folder, security);
    IO_STATUS_BLOCK io{};
    return NtCreateFile(&opened, access | SYNCHRONIZE, &attributes, &io, nullptr, FILE_ATTRIBUTE_NORMAL, share,
                        disposition, options | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
}

// Whether this process runs with an administrator's rights in effect: elevated, or an
// administrator without user account control.
bool HasAdministratorRights() {
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof sid;
    BOOL member = FALSE;
    return CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &size) &&
           CheckTokenMembership(nullptr, sid, &member) && member;
}

// The security of the files an administrator's run creates: only SYSTEM and Administrators may
// write, move or remove them; users may read and run them. Protected, so that nothing the folder
// grants (a folder outside Program Files may let its users write) is inherited. Null for a run
// without those rights: its files get the folder's, as before.
PSECURITY_DESCRIPTOR NewFileSecurity() {
    static const win32::LocalMemory security = []() -> win32::LocalMemory {
        if (!HasAdministratorRights()) return nullptr;
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;0x1200a9;;;BU)",
                                                                  SDDL_REVISION_1, &descriptor, nullptr))
            return nullptr;
        return win32::LocalMemory(descriptor);
    }();
    return security.get();
}

bool SameNameIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

// Whether the handle, opened by name in the folder, is that entry itself and not, through a link,
// some file elsewhere. Windows opens a link itself when asked not to follow it; Wine follows links
// to files whatever it is asked, but then names the link's target as the handle's path.
bool IsEntryItself(HANDLE handle, HANDLE folder, const std::wstring& name) {
    std::wstring folderPath = FinalPathOf(folder);
    const std::wstring entryPath = FinalPathOf(handle);
    if (folderPath.empty() || entryPath.empty()) return false;
    if (folderPath.back() != L'\\') folderPath += L'\\';  // a drive's root ends in one already
    return SameNameIgnoringCase(entryPath, folderPath + name);
}

}  // namespace

FileResult<File> File::OpenForReading(const std::string& path, ReadShare share) {
    return Open(path, GENERIC_READ, share == ReadShare::kDenyWriters ? FILE_SHARE_READ : kShareAll, OPEN_EXISTING);
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
    if (!ReadFile(AsHandle(handle_), buffer.data(), want, &got, nullptr)) return LastError();
    return static_cast<std::size_t>(got);
}

FileError File::Seek(std::int64_t offset) {
    if (!IsOpen() || offset < 0) return FileError::kIo;
    LARGE_INTEGER to;
    to.QuadPart = offset;
    return Check(SetFilePointerEx(AsHandle(handle_), to, nullptr, FILE_BEGIN));
}

FileResult<std::int64_t> File::Size() const {
    LARGE_INTEGER size;
    if (!IsOpen() || !GetFileSizeEx(AsHandle(handle_), &size)) return FileError::kIo;
    return static_cast<std::int64_t>(size.QuadPart);
}

FileResult<FileIdentity> File::Identity() const {
    BY_HANDLE_FILE_INFORMATION info;
    if (!IsOpen() || !GetFileInformationByHandle(AsHandle(handle_), &info)) return FileError::kIo;
    return IdentityFrom(info);
}

FileError File::Write(std::span<const std::uint8_t> bytes) {
    if (!IsOpen()) return FileError::kIo;
    while (!bytes.empty()) {
        DWORD chunk = bytes.size() > 0x40000000u ? 0x40000000u : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(AsHandle(handle_), bytes.data(), chunk, &written, nullptr)) return LastError();
        if (written == 0) return FileError::kDiskFull;
        bytes = bytes.subspan(written);
    }
    return FileError::kNone;
}

FileError File::Flush() {
    if (!IsOpen()) return FileError::kIo;
    return Check(FlushFileBuffers(AsHandle(handle_)));
}

FileError File::Close() {
    if (!IsOpen()) return FileError::kNone;
    HANDLE h = AsHandle(handle_);
    handle_ = kNoHandle;
    return Check(CloseHandle(h));
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
    return Check(DeleteFileW(win32::WidenSystem(path).c_str()));
}

FileResult<Folder> Folder::Open(const std::string& path) {
    // "C:" alone is the current folder of drive C, not its root.
    const bool driveOnly = path.size() == 2 && path[1] == ':';
    HANDLE h = OpenHandle(driveOnly ? path + '\\' : path, FILE_LIST_DIRECTORY | FILE_TRAVERSE | SYNCHRONIZE, kShareAll,
                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
    if (h == INVALID_HANDLE_VALUE) return LastError();
    File handle = File::Adopt(reinterpret_cast<std::intptr_t>(h));
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(h, &info)) return LastError();
    if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return FileError::kNotFound;
    return Folder(std::move(handle), path);
}

FileResult<NewFile> Folder::CreateNew(std::string_view name) const {
    if (!IsPlainName(name)) return FileError::kAccessDenied;
    // Read, write and delete for this handle alone; others may only read. FILE_CREATE never opens
    // what is there already, a link included.
    HANDLE h = nullptr;
    const NTSTATUS status =
        OpenInFolder(AsHandle(Native()), win32::WidenSystem(std::string(name)), GENERIC_READ | GENERIC_WRITE | DELETE,
                     FILE_SHARE_READ, FILE_CREATE, FILE_NON_DIRECTORY_FILE, NewFileSecurity(), h);
    if (!NT_SUCCESS(status)) return FromStatus(status);
    return NewFile(File::Adopt(reinterpret_cast<std::intptr_t>(h)), *this, std::string(name));
}

FileResult<FileIdentity> Folder::IdentityOf(std::string_view name) const {
    if (!IsPlainName(name)) return FileError::kNotFound;
    HANDLE h = nullptr;
    const NTSTATUS status = OpenInFolder(AsHandle(Native()), win32::WidenSystem(std::string(name)),
                                         FILE_READ_ATTRIBUTES, kShareAll, FILE_OPEN, 0, nullptr, h);
    if (!NT_SUCCESS(status)) return FromStatus(status);
    const UniqueHandle file(h);
    return IdentityOfHandle(file.Get());
}

FileError Folder::RemovePlainFile(std::string_view name, const std::optional<FileIdentity>& expected) const {
    if (!IsPlainName(name)) return FileError::kAccessDenied;
    const std::wstring wide = win32::WidenSystem(std::string(name));
    // DELETE access lets the handle remove the file; a link is opened as itself, not followed.
    HANDLE h = nullptr;
    const NTSTATUS status = OpenInFolder(AsHandle(Native()), wide, DELETE | FILE_READ_ATTRIBUTES, kShareAll, FILE_OPEN,
                                         FILE_OPEN_REPARSE_POINT, nullptr, h);
    if (!NT_SUCCESS(status)) return FromStatus(status);
    const UniqueHandle file(h);
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file.Get(), &info)) return LastError();
    constexpr DWORD kNotPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_READONLY;
    if ((info.dwFileAttributes & kNotPlain) != 0 || info.nNumberOfLinks != 1 ||
        !IsEntryItself(file.Get(), AsHandle(Native()), wide))
        return FileError::kAccessDenied;
    if (expected && IdentityFrom(info) != *expected) return FileError::kAccessDenied;
    return MarkForDeletion(file.Get());  // gone when the handle closes
}

FileError NewFile::MoveOver(std::string_view target) {
    if (!IsPlainName(target)) return FileError::kAccessDenied;
    const HANDLE folder = AsHandle(folder_->Native());
    const std::wstring to = win32::WidenSystem(std::string(target));
    // A read-only target must stay: the rename would not always refuse it.
    HANDLE h = nullptr;
    NTSTATUS status = OpenInFolder(folder, to, FILE_READ_ATTRIBUTES, kShareAll, FILE_OPEN, 0, nullptr, h);
    if (NT_SUCCESS(status)) {
        const UniqueHandle existing(h);
        BY_HANDLE_FILE_INFORMATION info;
        if (!GetFileInformationByHandle(existing.Get(), &info)) return LastError();
        if (info.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
            return FileError::kAccessDenied;
    }
    // Renamed through its own handle into the held folder (its handle as the root of the new
    // name): what was written and read back is what takes the name, wherever the folder's path
    // leads by now. The native call, because the Win32 one makes a bare name a path from the
    // current folder under Wine.
    std::vector<std::uint8_t> buffer(sizeof(FILE_RENAME_INFO) + to.size() * sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = folder;
    rename->FileNameLength = static_cast<DWORD>(to.size() * sizeof(wchar_t));
    std::copy(to.begin(), to.end(), rename->FileName);
    IO_STATUS_BLOCK io{};
    status = NtSetInformationFile(AsHandle(file_.Native()), &io, rename, static_cast<ULONG>(buffer.size()),
                                  FileRenameInformation);
    if (!NT_SUCCESS(status)) return FromStatus(status);
    name_ = std::string(target);
    // Flushing the file now also writes its new name to the disk. The file is in place whether
    // that works or not, and must not be removed as a failed one.
    FlushFileBuffers(AsHandle(file_.Native()));
    return FileError::kNone;
}

FileError NewFile::Remove() {
    const FileError error = MarkForDeletion(AsHandle(file_.Native()));
    file_.Close();  // gone with its last handle
    return error;
}

FileError MoveIntoPlace(const std::string& source, const std::string& target) {
    const std::wstring to = win32::WidenSystem(target);
    // A read-only target must stay: MoveFileEx would not always refuse it.
    DWORD a = GetFileAttributesW(to.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return FileError::kAccessDenied;
    return Check(MoveFileExW(win32::WidenSystem(source).c_str(), to.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

FileResult<FileIdentity> IdentityOf(const std::string& path) {
    const UniqueHandle file(
        OpenHandle(path, FILE_READ_ATTRIBUTES, kShareAll, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS));
    if (!file.IsOpen()) return LastError();
    return IdentityOfHandle(file.Get());
}

bool IsHeldByAnotherProgram(FileError error, const std::string& path) {
    if (error == FileError::kSharingViolation) return true;
    if (error != FileError::kAccessDenied) return false;
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) == 0;
}

FileResult<std::vector<std::string>> FileNamesIn(const std::string& folder) {
    WIN32_FIND_DATAW found;
    const win32::FindHandle search(FindFirstFileExW((win32::WidenSystem(folder) + L"\\*").c_str(), FindExInfoBasic,
                                                    &found, FindExSearchNameMatch, nullptr, 0));
    if (!search.IsOpen()) {
        const DWORD e = GetLastError();
        if (e == ERROR_FILE_NOT_FOUND) return std::vector<std::string>();
        return win32::FileErrorFrom(e);
    }
    std::vector<std::string> names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(win32::NarrowSystem(found.cFileName));
    } while (FindNextFileW(search.Get(), &found));
    return names;
}

char PathSeparator() {
    return '\\';
}

}  // namespace updater::base

namespace updater::base::win32 {

FileError FileErrorFrom(DWORD e) {
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

}  // namespace updater::base::win32
