// The Windows build reads a program's resources the way Windows itself does: the file is loaded as
// an image resource (never run, no code of it mapped executable) and asked with FindResource and
// LoadResource; the version information comes from the version functions.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "base/system_text.h"
#include "base/win32/dll_search.h"
#include "base/win32/scoped_win.h"
#include "patchkit/executable_resources.h"

namespace patchkit {
namespace {

using updater::base::win32::Module;

std::string Utf8(const wchar_t* text, std::size_t length) {
    if (length == 0) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), out.data(), n, nullptr, nullptr);
    return out;
}

std::string ErrorText(const char* what, DWORD error) {
    char code[16];
    std::snprintf(code, sizeof code, "%lu", static_cast<unsigned long>(error));
    return std::string(what) + " (error " + code + ")";
}

std::vector<std::uint8_t> ResourceBytes(HMODULE module, const wchar_t* name, const wchar_t* type) {
    HRSRC found = FindResourceW(module, name, type);
    if (found == nullptr) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const DWORD size = SizeofResource(module, found);
    const auto* bytes = loaded == nullptr ? nullptr : static_cast<const std::uint8_t*>(LockResource(loaded));
    if (bytes == nullptr) return {};
    return std::vector<std::uint8_t>(bytes, bytes + size);
}

struct Names {
    std::vector<std::wstring> names;  // "#N" for numbered ones, as FindResource takes them
};

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR context) {
    auto* names = reinterpret_cast<Names*>(context);
    if (IS_INTRESOURCE(name)) {
        names->names.push_back(L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name)));
    } else {
        names->names.emplace_back(name);
    }
    return TRUE;
}

// version.dll is no KnownDLL: imported, a copy planted beside patchkit would be loaded.
decltype(&VerQueryValueW) QueryVersionValue() {
    static const auto query =
        updater::base::win32::SystemFunction<decltype(&VerQueryValueW)>(L"version.dll", "VerQueryValueW");
    return query;
}

std::optional<VersionInfo> ReadVersion(const std::wstring& path) {
    using updater::base::win32::SystemFunction;
    const auto infoSize = SystemFunction<decltype(&GetFileVersionInfoSizeW)>(L"version.dll", "GetFileVersionInfoSizeW");
    const auto versionInfo = SystemFunction<decltype(&GetFileVersionInfoW)>(L"version.dll", "GetFileVersionInfoW");
    if (infoSize == nullptr || versionInfo == nullptr || QueryVersionValue() == nullptr) return std::nullopt;
    DWORD ignored = 0;
    const DWORD size = infoSize(path.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<std::uint8_t> block(size);
    if (!versionInfo(path.c_str(), 0, size, block.data())) return std::nullopt;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!QueryVersionValue()(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || fixed == nullptr ||
        length < sizeof(VS_FIXEDFILEINFO)) {
        return std::nullopt;
    }
    VersionInfo info;
    info.fileVersion = {HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                        LOWORD(fixed->dwFileVersionLS)};
    info.productVersion = {HIWORD(fixed->dwProductVersionMS), LOWORD(fixed->dwProductVersionMS),
                           HIWORD(fixed->dwProductVersionLS), LOWORD(fixed->dwProductVersionLS)};
    // The strings of the first translation the resource lists.
    WORD* translation = nullptr;
    if (!QueryVersionValue()(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                             &length) ||
        translation == nullptr || length < 4) {
        return info;
    }
    wchar_t table[32];
    std::swprintf(table, 32, L"\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
    for (std::string_view key : kVersionStringKeys) {
        const std::wstring query = table + std::wstring(key.begin(), key.end());
        wchar_t* value = nullptr;
        if (QueryVersionValue()(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) &&
            value != nullptr) {
            std::size_t n = 0;
            while (n < length && value[n] != L'\0')
                ++n;
            info.strings.emplace_back(std::string(key), Utf8(value, n));
        }
    }
    return info;
}

}  // namespace

ExecutableRead ReadExecutableResources(const std::string& path) {
    ExecutableRead failed;
    const std::u16string wide16 = updater::base::WidenSystemText(path);
    const std::wstring wide(wide16.begin(), wide16.end());

    DWORD kind = 0;
    if (!GetBinaryTypeW(wide.c_str(), &kind)) {
        failed.error = ErrorText("not a Windows program, or it cannot be read", GetLastError());
        return failed;
    }
    Module module(LoadLibraryExW(wide.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!module) {
        failed.error = ErrorText("Windows does not load it as a program image", GetLastError());
        return failed;
    }
    ExecutableResources resources;
    resources.architecture = kind == SCS_32BIT_BINARY ? "x86" : kind == SCS_64BIT_BINARY ? "x64" : "not x86 or x64";

    Names names;
    // ERROR_RESOURCE_TYPE_NOT_FOUND: no raw data at all, which the checks report.
    EnumResourceNamesW(module.get(), MAKEINTRESOURCEW(10) /* RT_RCDATA */, &CollectName,
                       reinterpret_cast<LONG_PTR>(&names));
    // Names sharing one blob would make a copy each: the sizes together must fit in the file, as
    // they do when each name has bytes of its own, before anything is copied.
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &attributes)) {
        failed.error = ErrorText("cannot read its size", GetLastError());
        return failed;
    }
    const std::uint64_t fileSize = std::uint64_t{attributes.nFileSizeHigh} << 32 | attributes.nFileSizeLow;
    std::uint64_t claimed = 0;
    for (const std::wstring& name : names.names) {
        HRSRC found = FindResourceW(module.get(), name.c_str(), MAKEINTRESOURCEW(10));
        claimed += found == nullptr ? 0 : SizeofResource(module.get(), found);
        if (claimed > fileSize) {
            failed.error = "the resource tree reads more bytes than the file holds: its entries share their data";
            return failed;
        }
    }
    for (const std::wstring& name : names.names) {
        resources.rawData.push_back(
            {Utf8(name.data(), name.size()), ResourceBytes(module.get(), name.c_str(), MAKEINTRESOURCEW(10))});
    }
    const std::vector<std::uint8_t> manifest =
        ResourceBytes(module.get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24) /* RT_MANIFEST */);
    resources.manifest.assign(manifest.begin(), manifest.end());
    resources.version = ReadVersion(wide);

    ExecutableRead result;
    result.resources = std::move(resources);
    return result;
}

}  // namespace patchkit
