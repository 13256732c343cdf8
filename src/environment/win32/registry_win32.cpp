// The Windows registry behind the Registry seam. Everything goes through the ANSI functions: the
// product's names and data are 8-bit strings in the system code page, and scrambled bytes must
// come back exactly as the product stored them. Results are the LSTATUS each call returns.
#include <windows.h>

#include <algorithm>
#include <new>
#include <string>

#include "environment/registry.h"

namespace updater::environment {
namespace {

HKEY RootKey(RegRoot root) {
    return root == RegRoot::kCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

REGSAM ViewFlag(RegView view) {
    return view == RegView::k32Bit ? KEY_WOW64_32KEY : 0;
}

HKEY ToHkey(Registry::Handle handle) {
    return reinterpret_cast<HKEY>(handle);
}

// A NUL inside a name would silently name another key or value.
bool HasNul(std::string_view text) {
    return text.find('\0') != std::string_view::npos;
}

class Win32Registry final : public Registry {
  public:
    Handle OpenKey(RegRoot root, std::string_view path, bool readOnly, RegView view) noexcept override {
        try {
            if (HasNul(path)) return 0;
            const std::string p(path);
            HKEY key = nullptr;
            LSTATUS status;
            if (readOnly) {
                status = RegOpenKeyExA(RootKey(root), p.c_str(), 0, KEY_READ | ViewFlag(view), &key);
            } else {
                status = RegCreateKeyExA(RootKey(root), p.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                         KEY_ALL_ACCESS | ViewFlag(view), nullptr, &key, nullptr);
            }
            if (status != ERROR_SUCCESS || key == nullptr) return 0;
            return reinterpret_cast<Handle>(key);
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

    bool SetString(Handle key, std::string_view name, std::string_view data) noexcept override {
        try {
            if (HasNul(name)) return false;
            const std::string n(name);
            const std::string text(data.substr(0, data.find('\0')));  // REG_SZ ends at its first NUL
            return RegSetValueExA(ToHkey(key), n.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                  static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
        } catch (const std::bad_alloc&) {  // copying names and data is all that can fail
            return false;
        }
    }

    bool SetDword(Handle key, std::string_view name, std::uint32_t data) noexcept override {
        try {
            if (HasNul(name)) return false;
            const std::string n(name);
            const DWORD dword = data;
            return RegSetValueExA(ToHkey(key), n.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dword),
                                  sizeof dword) == ERROR_SUCCESS;
        } catch (const std::bad_alloc&) {  // copying names and data is all that can fail
            return false;
        }
    }

    bool DeleteValue(Handle key, std::string_view name) noexcept override {
        try {
            if (HasNul(name)) return false;
            const std::string n(name);
            return RegDeleteValueA(ToHkey(key), n.c_str()) == ERROR_SUCCESS;
        } catch (const std::bad_alloc&) {  // copying names and data is all that can fail
            return false;
        }
    }

    bool DeleteKeyTree(RegRoot root, std::string_view path, RegView view) noexcept override {
        try {
            if (HasNul(path) || path.empty()) return false;
            const std::string p(path);
            HKEY key = nullptr;
            LSTATUS status = RegOpenKeyExA(RootKey(root), p.c_str(), 0, KEY_ALL_ACCESS | ViewFlag(view), &key);
            if (status == ERROR_FILE_NOT_FOUND) return true;
            if (status != ERROR_SUCCESS) return false;
            status = RegDeleteTreeA(key, nullptr);
            RegCloseKey(key);
            if (status != ERROR_SUCCESS) return false;
            status = RegDeleteKeyExA(RootKey(root), p.c_str(), ViewFlag(view), 0);
            return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
        } catch (const std::bad_alloc&) {  // copying names and data is all that can fail
            return false;
        }
    }
};

}  // namespace

Registry& SystemRegistry() noexcept {
    static Win32Registry registry;
    return registry;
}

}  // namespace updater::environment
