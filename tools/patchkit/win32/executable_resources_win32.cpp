// The Windows build reads a program's resources the way Windows itself does: the file is loaded as
// an image resource (never run, no code of it mapped executable) and asked with FindResource and
// LoadResource; the version information comes from the version functions.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "base/system_text.h"
#include "base/unicode.h"
#include "base/win32/dll_search.h"
#include "base/win32/scoped_win.h"
#include "patchkit/executable_resources.h"

namespace patchkit {
namespace {

using updater::base::win32::Module;

std::string Utf8(const wchar_t* text, std::size_t length) {
    return updater::base::Utf8FromUtf16(std::u16string(text, text + length));
}

std::string ErrorText(const char* what, DWORD error) {
    return std::string(what) + " (error " + std::to_string(error) + ")";
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

// Names "#N" for numbered ones, as FindResource takes them.
BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR context) {
    auto* names = reinterpret_cast<std::vector<std::wstring>*>(context);
    if (IS_INTRESOURCE(name)) {
        names->push_back(L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name)));
    } else {
        names->emplace_back(name);
    }
    return TRUE;
}

std::optional<VersionInfo> ReadVersion(const std::wstring& path) {
    // version.dll is no KnownDLL: imported, a copy planted beside patchkit would be loaded.
    using updater::base::win32::SystemFunction;
    const auto infoSize = SystemFunction<decltype(&GetFileVersionInfoSizeW)>(L"version.dll", "GetFileVersionInfoSizeW");
    const auto versionInfo = SystemFunction<decltype(&GetFileVersionInfoW)>(L"version.dll", "GetFileVersionInfoW");
    const auto queryValue = SystemFunction<decltype(&VerQueryValueW)>(L"version.dll", "VerQueryValueW");
    if (infoSize == nullptr || versionInfo == nullptr || queryValue == nullptr) return std::nullopt;
    DWORD ignored = 0;
    const DWORD size = infoSize(path.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<std::uint8_t> block(size);
    if (!versionInfo(path.c_str(), 0, size, block.data())) return std::nullopt;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!queryValue(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || fixed == nullptr ||
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
    if (!queryValue(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
        translation == nullptr || length < 4) {
        return info;
    }
    wchar_t table[32];
    std::swprintf(table, 32, L"\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
    for (std::string_view key : kVersionStringKeys) {
        const std::wstring query = table + std::wstring(key.begin(), key.end());
        wchar_t* value = nullptr;
        if (queryValue(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) && value != nullptr) {
            const auto end = std::find(value, value + length, L'\0');
            info.strings.emplace_back(std::string(key), Utf8(value, static_cast<std::size_t>(end - value)));
        }
    }
    return info;
}

}  // namespace

ExecutableRead ReadExecutableResources(const std::string& path) {
    const std::u16string wide16 = updater::base::WidenSystemText(path);
    const std::wstring wide(wide16.begin(), wide16.end());

    DWORD kind = 0;
    if (!GetBinaryTypeW(wide.c_str(), &kind))
        return {std::nullopt, ErrorText("not a Windows program, or it cannot be read", GetLastError())};
    Module module(LoadLibraryExW(wide.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!module) return {std::nullopt, ErrorText("Windows does not load it as a program image", GetLastError())};
    ExecutableResources resources;
    resources.architecture = kind == SCS_32BIT_BINARY ? "x86" : kind == SCS_64BIT_BINARY ? "x64" : "not x86 or x64";

    std::vector<std::wstring> names;
    // ERROR_RESOURCE_TYPE_NOT_FOUND: no raw data at all, which the checks report.
    EnumResourceNamesW(module.get(), MAKEINTRESOURCEW(10) /* RT_RCDATA */, &CollectName,
                       reinterpret_cast<LONG_PTR>(&names));
    // Names sharing one blob would make a copy each: the sizes together must fit in the file, as
    // they do when each name has bytes of its own, before anything is copied.
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &attributes))
        return {std::nullopt, ErrorText("cannot read its size", GetLastError())};
    const std::uint64_t fileSize = std::uint64_t{attributes.nFileSizeHigh} << 32 | attributes.nFileSizeLow;
    std::uint64_t claimed = 0;
    for (const std::wstring& name : names) {
        HRSRC found = FindResourceW(module.get(), name.c_str(), MAKEINTRESOURCEW(10));
        claimed += found == nullptr ? 0 : SizeofResource(module.get(), found);
        if (claimed > fileSize)
            return {std::nullopt,
                    "the resource tree reads more bytes than the file holds: its entries share their data"};
    }
    for (const std::wstring& name : names) {
        resources.rawData.push_back(
            {Utf8(name.data(), name.size()), ResourceBytes(module.get(), name.c_str(), MAKEINTRESOURCEW(10))});
    }
    const std::vector<std::uint8_t> manifest =
        ResourceBytes(module.get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24) /* RT_MANIFEST */);
    resources.manifest.assign(manifest.begin(), manifest.end());
    resources.version = ReadVersion(wide);

    return {std::move(resources), {}};
}

}  // namespace patchkit
