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

// Copying names and data is all that can fail.
template <typename Result, typename Call>
Result FailingOnNoMemory(Result failed, Call call) noexcept {
    try {
        return call();
    } catch (const std::bad_alloc&) {
        return failed;
    }
}

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
        if (HasNul(path)) return 0;
        return FailingOnNoMemory(Handle{0}, [&] {
            HKEY key = nullptr;
            const LSTATUS status =
                RegCreateKeyExA(RootKey(root), std::string(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_ALL_ACCESS | ViewFlag(view), nullptr, &key, nullptr);
            return status == ERROR_SUCCESS && key != nullptr ? FromHkey(key) : Handle{0};
        });
    }

    bool SetString(Handle key, std::string_view name, std::string_view data) noexcept override {
        return FailingOnNoMemory(false, [&] {
            const std::string text(data.substr(0, data.find('\0')));  // REG_SZ ends at its first NUL
            return SetValue(key, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
        });
    }

    bool SetDword(Handle key, std::string_view name, std::uint32_t data) noexcept override {
        const DWORD dword = data;
        return SetValue(key, name, REG_DWORD, &dword, sizeof dword);
    }

    bool DeleteValue(Handle key, std::string_view name) noexcept override {
        return !HasNul(name) && FailingOnNoMemory(false, [&] {
            return RegDeleteValueA(ToHkey(key), std::string(name).c_str()) == ERROR_SUCCESS;
        });
    }

    bool DeleteKeyTree(RegRoot root, std::string_view path, RegView view) noexcept override {
        if (HasNul(path) || path.empty()) return false;
        return FailingOnNoMemory(false, [&] {
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
        });
    }

  private:
    static bool SetValue(Handle key, std::string_view name, DWORD type, const void* data, DWORD size) noexcept {
        return !HasNul(name) && FailingOnNoMemory(false, [&] {
            return RegSetValueExA(ToHkey(key), std::string(name).c_str(), 0, type, static_cast<const BYTE*>(data),
                                  size) == ERROR_SUCCESS;
        });
    }

    environment::Registry& reader_ = environment::SystemRegistry();
};

}  // namespace

WritableRegistry& SystemWritableRegistry() noexcept {
    static Win32WritableRegistry registry;
    return registry;
}

}  // namespace updater::tools
