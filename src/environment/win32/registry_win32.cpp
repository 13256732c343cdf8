// The Windows registry behind the Registry seam, for reading. Everything goes through the ANSI
// functions: the product's names and data are 8-bit strings in the system code page, and scrambled
// bytes must come back exactly as the product stored them. Results are the LSTATUS each call returns.
#include <windows.h>

#include <algorithm>
#include <new>
#include <string>

#include "environment/registry.h"
#include "environment/win32/registry_win32.h"

namespace updater::environment {
namespace {

using win32::FromHkey;
using win32::HasNul;
using win32::RootKey;
using win32::ToHkey;
using win32::ViewFlag;

class Win32Registry final : public Registry {
  public:
    Handle OpenKey(RegRoot root, std::string_view path, RegView view) noexcept override {
        try {
            if (HasNul(path)) return 0;
            const std::string p(path);
            HKEY key = nullptr;
            const LSTATUS status = RegOpenKeyExA(RootKey(root), p.c_str(), 0, KEY_READ | ViewFlag(view), &key);
            if (status != ERROR_SUCCESS || key == nullptr) return 0;
            return FromHkey(key);
        } catch (const std::bad_alloc&) {  // copying names and data is all that can fail
            return 0;
        }
    }

    bool CloseKey(Handle key) noexcept override { return RegCloseKey(ToHkey(key)) == ERROR_SUCCESS; }

    RegStatus QueryValue(Handle key, std::string_view name, RegValue& value) noexcept override {
        try {
            if (HasNul(name)) return RegStatus::kNotFound;
            const std::string n(name);
            DWORD type = 0;
            DWORD size = 0;
            LSTATUS status = RegQueryValueExA(ToHkey(key), n.c_str(), nullptr, &type, nullptr, &size);
            std::string data;
            // The value may grow between asking its size and reading it: ask again with the new size.
            for (int attempt = 0; status == ERROR_SUCCESS || status == ERROR_MORE_DATA; ++attempt) {
                if (attempt == 8) return RegStatus::kFailed;
                data.assign(size, '\0');
                DWORD got = size;
                status = RegQueryValueExA(ToHkey(key), n.c_str(), nullptr, &type,
                                          data.empty() ? nullptr : reinterpret_cast<BYTE*>(data.data()), &got);
                if (status == ERROR_MORE_DATA) {
                    size = std::max<DWORD>(got, size + 256);
                    continue;
                }
                if (status != ERROR_SUCCESS) break;
                data.resize(std::min<DWORD>(got, size));
                if (type == REG_SZ || type == REG_EXPAND_SZ) {
                    // The terminator (some writers store more than one) is not part of the text; a
                    // NUL inside it makes the value no text.
                    const std::size_t end = data.find_last_not_of('\0') + 1;  // 0 when all NULs
                    const bool text = data.find('\0') >= end;
                    if (text) data.resize(end);
                    value = {text ? RegType::kString : RegType::kOther, std::move(data)};
                } else if (type == REG_DWORD && data.size() == 4) {
                    value = {RegType::kDword, std::move(data)};
                } else {
                    value = {RegType::kOther, std::move(data)};
                }
                return RegStatus::kOk;
            }
            return status == ERROR_FILE_NOT_FOUND ? RegStatus::kNotFound : RegStatus::kFailed;
        } catch (const std::bad_alloc&) {  // copying names and data is all that can fail
            return RegStatus::kFailed;
        }
    }
};

}  // namespace

Registry& SystemRegistry() noexcept {
    static Win32Registry registry;
    return registry;
}

}  // namespace updater::environment
