#include "test_support/memory_registry.h"

#include <new>
#include <utility>

namespace updater::environment {
namespace {

std::string Fold(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return folded;
}

bool IsMachineSoftware(RegRoot root, const std::string& foldedPath) {
    if (root != RegRoot::kLocalMachine) return false;
    constexpr std::string_view kSoftware = "SOFTWARE";
    return foldedPath.starts_with(kSoftware) &&
           (foldedPath.size() == kSoftware.size() || foldedPath[kSoftware.size()] == '\\');
}

}  // namespace

MemoryRegistry::KeyId MemoryRegistry::MakeId(RegRoot root, std::string_view path, RegView view) {
    // "A\B\" names the key "A\B", as it does in the Windows registry.
    while (path.ends_with('\\'))
        path.remove_suffix(1);
    std::string folded = Fold(path);
    const int tree = (view == RegView::k32Bit && IsMachineSoftware(root, folded)) ? 1 : 0;
    return {root, tree, std::move(folded)};
}

MemoryRegistry::Key* MemoryRegistry::Find(const KeyId& id) {
    auto it = keys_.find(id);
    return it == keys_.end() ? nullptr : &it->second;
}

MemoryRegistry::Key& MemoryRegistry::Create(const KeyId& id) {
    // Parents first, as the real registry creates every missing level.
    const std::string& path = std::get<2>(id);
    for (std::size_t slash = path.find('\\'); slash != std::string::npos; slash = path.find('\\', slash + 1)) {
        keys_.try_emplace(KeyId{std::get<0>(id), std::get<1>(id), path.substr(0, slash)});
    }
    return keys_[id];
}

Registry::Handle MemoryRegistry::OpenKey(RegRoot root, std::string_view path, RegView view) noexcept {
    return Open(root, path, view, true);
}

Registry::Handle MemoryRegistry::CreateKey(RegRoot root, std::string_view path, RegView view) noexcept {
    return Open(root, path, view, false);
}

Registry::Handle MemoryRegistry::Open(RegRoot root, std::string_view path, RegView view, bool readOnly) noexcept {
    try {
        KeyId id = MakeId(root, path, view);
        const bool exists = Find(id) != nullptr;
        attempts_.push_back({root, std::string(path), view, readOnly, exists || !readOnly});
        if (!exists) {
            if (readOnly) return 0;
            Create(id);
        }
        const Handle handle = nextHandle_++;
        open_.emplace(handle, OpenKeyState{std::move(id), readOnly});
        return handle;
    } catch (const std::bad_alloc&) {  // copying names and data is all that can fail
        return 0;
    }
}

bool MemoryRegistry::CloseKey(Handle key) noexcept {
    return open_.erase(key) == 1;
}

RegStatus MemoryRegistry::QueryValue(Handle key, std::string_view name, RegValue& value) noexcept {
    try {
        auto it = open_.find(key);
        if (it == open_.end()) return RegStatus::kFailed;
        Key* stored = Find(it->second.id);
        if (stored == nullptr) return RegStatus::kFailed;  // deleted while open
        auto found = stored->values.find(Fold(name));
        if (found == stored->values.end()) return RegStatus::kNotFound;
        value = found->second;
        // As the Windows registry layer reads it: a string with a NUL inside is no text.
        if (value.type == RegType::kString && value.data.find('\0') != std::string::npos) value.type = RegType::kOther;
        return RegStatus::kOk;
    } catch (const std::bad_alloc&) {  // copying names and data is all that can fail
        return RegStatus::kFailed;
    }
}

MemoryRegistry::Key* MemoryRegistry::Writable(Handle key) {
    auto it = open_.find(key);
    if (it == open_.end() || it->second.readOnly) return nullptr;
    return Find(it->second.id);
}

bool MemoryRegistry::Store(Handle key, std::string_view name, RegValue value) noexcept {
    try {
        Key* stored = Writable(key);
        if (stored == nullptr) return false;
        stored->values[Fold(name)] = std::move(value);
        return true;
    } catch (const std::bad_alloc&) {  // copying names and data is all that can fail
        return false;
    }
}

bool MemoryRegistry::SetString(Handle key, std::string_view name, std::string_view data) noexcept {
    try {
        // Stored strings end at their first NUL, as REG_SZ text does.
        return Store(key, name, RegValue{RegType::kString, std::string(data.substr(0, data.find('\0')))});
    } catch (const std::bad_alloc&) {  // copying names and data is all that can fail
        return false;
    }
}

bool MemoryRegistry::SetDword(Handle key, std::string_view name, std::uint32_t data) noexcept {
    try {
        std::string bytes(4, '\0');
        for (std::size_t i = 0; i < 4; ++i)
            bytes[i] = static_cast<char>((data >> (8 * i)) & 0xFFu);
        return Store(key, name, RegValue{RegType::kDword, std::move(bytes)});
    } catch (const std::bad_alloc&) {  // copying names and data is all that can fail
        return false;
    }
}

bool MemoryRegistry::DeleteValue(Handle key, std::string_view name) noexcept {
    try {
        Key* stored = Writable(key);
        return stored != nullptr && stored->values.erase(Fold(name)) == 1;
    } catch (const std::bad_alloc&) {  // copying names and data is all that can fail
        return false;
    }
}

bool MemoryRegistry::DeleteKeyTree(RegRoot root, std::string_view path, RegView view) noexcept {
    try {
        const KeyId id = MakeId(root, path, view);
        const std::string prefix = std::get<2>(id) + '\\';
        for (auto it = keys_.begin(); it != keys_.end();) {
            const bool sameTree = std::get<0>(it->first) == root && std::get<1>(it->first) == std::get<1>(id);
            const std::string& p = std::get<2>(it->first);
            if (sameTree && (p == std::get<2>(id) || p.starts_with(prefix))) {
                it = keys_.erase(it);
            } else {
                ++it;
            }
        }
        return true;
    } catch (const std::bad_alloc&) {  // copying names and data is all that can fail
        return false;
    }
}

void MemoryRegistry::Put(RegRoot root, std::string_view path, RegView view, std::string_view name, RegValue value) {
    Create(MakeId(root, path, view)).values[Fold(name)] = std::move(value);
}

}  // namespace updater::environment
