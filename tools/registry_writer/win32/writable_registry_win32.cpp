// The Windows registry for writing. Reading is the updater's own (SystemRegistry()): a key created
// here is the same HKEY to it, and the ANSI functions keep names and data the system code page's
// bytes on both sides.
#include <windows.h>

#include <new>
#include <string>

#include "environment/registry.h"
#include "environment/win32/registry_win32.h"
#include "registry_writer/writable_registry.h"

namespace updater::tools {
namespace {

using environment::RegStatus;
using environment::RegValue;
using environment::win32::FromHkey;
using environment::win32::HasNul;
using environment::win32::RootKey;
using environment::win32::ToHkey;
using environment::win32::ViewFlag;

class Win32WritableRegistry final : public WritableRegistry {
  public:
    Handle OpenKey(RegRoot root, std::string_view path, RegView view) noexcept override {
        return reader_.OpenKey(root, path, view);
    }
    bool CloseKey(Handle key) noexcept override { return reader_.CloseKey(key); }
    RegStatus QueryValue(Handle key, std::string_view name, RegValue& value) noexcept override {
        return reader_.QueryValue(key, name, value);
    }

    Handle CreateKey(RegRoot root, std::string_view path, RegView view) noexcept override {
        try {
            if (HasNul(path)) return 0;
            const std::string p(path);
            HKEY key = nullptr;
            const LSTATUS status = RegCreateKeyExA(RootKey(root), p.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                                   KEY_ALL_ACCESS | ViewFlag(view), nullptr, &key, nullptr);
            if (status != ERROR_SUCCESS || key == nullptr) return 0;
            return FromHkey(key);
        } catch (const std::bad_alloc&) {  // copying names and data is all that can fail
            return 0;
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

  private:
    environment::Registry& reader_ = environment::SystemRegistry();
};

}  // namespace

WritableRegistry& SystemWritableRegistry() noexcept {
    static Win32WritableRegistry registry;
    return registry;
}

}  // namespace updater::tools
