#pragma once
// The registry's writing side, which the updater never needs: patchkit records installations with
// it and the tests set up their entries. It extends the read seam (environment/registry.h), so one
// registry, the system's or the tests' in-memory one, both writes and serves the lookups that read
// back what was written.

#include <cstdint>
#include <string_view>

#include "environment/registry.h"

namespace updater::tools {

using environment::RegRoot;
using environment::RegView;

class WritableRegistry : public environment::Registry {
  public:
    // Full access; the key is created, with any missing parents. Returns 0 on any failure.
    virtual Handle CreateKey(RegRoot root, std::string_view path, RegView view) noexcept = 0;
    // On a key from CreateKey; a key opened for reading (OpenKey) cannot write.
    virtual bool SetString(Handle key, std::string_view name, std::string_view data) noexcept = 0;
    virtual bool SetDword(Handle key, std::string_view name, std::uint32_t data) noexcept = 0;
    virtual bool DeleteValue(Handle key, std::string_view name) noexcept = 0;
    // Removes the key with all its values and subkeys; true when it is gone (or was never there).
    virtual bool DeleteKeyTree(RegRoot root, std::string_view path, RegView view) noexcept = 0;
};

// The machine's registry; Windows only (win32/): elsewhere there is none to write.
WritableRegistry& SystemWritableRegistry() noexcept;

// A key open for writing (and reading), closed when it goes out of scope. A default or failed
// WritableKey is not open and every operation on it fails.
class WritableKey : public environment::RegKey {
  public:
    WritableKey() = default;
    WritableKey(WritableRegistry& registry, environment::Registry::Handle handle)
        : RegKey(registry, handle), writer_(&registry) {}

    bool SetString(std::string_view name, std::string_view data) const noexcept {
        return IsOpen() && writer_->SetString(KeyHandle(), name, data);
    }
    bool SetDword(std::string_view name, std::uint32_t data) const noexcept {
        return IsOpen() && writer_->SetDword(KeyHandle(), name, data);
    }
    bool DeleteValue(std::string_view name) const noexcept {
        return IsOpen() && writer_->DeleteValue(KeyHandle(), name);
    }

  private:
    WritableRegistry* writer_ = nullptr;
};

inline WritableKey CreateRegKey(WritableRegistry& registry, RegRoot root, std::string_view path,
                                RegView view = RegView::kNative) noexcept {
    const environment::Registry::Handle handle = registry.CreateKey(root, path, view);
    return handle == 0 ? WritableKey() : WritableKey(registry, handle);
}

}  // namespace updater::tools
