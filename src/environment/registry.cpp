#include "environment/registry.h"

#include <utility>

namespace updater::environment {

RegKey::RegKey(RegKey&& other) noexcept
    : registry_(std::exchange(other.registry_, nullptr)), handle_(std::exchange(other.handle_, 0)) {}

RegKey& RegKey::operator=(RegKey&& other) noexcept {
    if (this != &other) {
        Close();
        registry_ = std::exchange(other.registry_, nullptr);
        handle_ = std::exchange(other.handle_, 0);
    }
    return *this;
}

bool RegKey::Close() noexcept {
    if (handle_ == 0) return true;
    const bool closed = registry_->CloseKey(handle_);
    handle_ = 0;
    return closed;
}

RegStatus RegKey::Query(std::string_view name, RegValue& value) const noexcept {
    if (!IsOpen()) return RegStatus::kFailed;
    return registry_->QueryValue(handle_, name, value);
}

RegKey OpenRegKey(Registry& registry, RegRoot root, std::string_view path, RegView view) noexcept {
    const Registry::Handle handle = registry.OpenKey(root, path, view);
    if (handle == 0) return {};
    return RegKey(registry, handle);
}

RegBool ReadRegBool(Registry& registry, RegRoot root, std::string_view path, std::string_view name,
                    RegView view) noexcept {
    RegKey key = OpenRegKey(registry, root, path, view);
    RegValue value;
    if (key.Query(name, value) != RegStatus::kOk) return {};
    // Only presence is asked of a value that is not a 32-bit integer.
    const bool nonZero = value.type == RegType::kDword && value.data.find_first_not_of('\0') != std::string::npos;
    return {true, nonZero};
}

bool ReadRegString(Registry& registry, RegRoot root, std::string_view path, std::string_view name, std::string& value,
                   RegView view) noexcept {
    RegKey key = OpenRegKey(registry, root, path, view);
    RegValue read;
    if (key.Query(name, read) != RegStatus::kOk || read.type != RegType::kString) return false;
    value.swap(read.data);
    return true;
}

}  // namespace updater::environment
