#include "registry_writer/writable_registry.h"

namespace updater::tools {

bool WritableKey::SetString(std::string_view name, std::string_view data) const noexcept {
    return IsOpen() && writer_->SetString(KeyHandle(), name, data);
}

bool WritableKey::SetDword(std::string_view name, std::uint32_t data) const noexcept {
    return IsOpen() && writer_->SetDword(KeyHandle(), name, data);
}

bool WritableKey::DeleteValue(std::string_view name) const noexcept {
    return IsOpen() && writer_->DeleteValue(KeyHandle(), name);
}

WritableKey CreateRegKey(WritableRegistry& registry, RegRoot root, std::string_view path, RegView view) noexcept {
    const environment::Registry::Handle handle = registry.CreateKey(root, path, view);
    if (handle == 0) return {};
    return WritableKey(registry, handle);
}

}  // namespace updater::tools
