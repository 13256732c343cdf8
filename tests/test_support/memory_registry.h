#pragma once
// A registry kept in memory, for tests: the lookups read it, the tests' set-up and the tools write
// it. It behaves like the Windows registry in the ways the product's lookups depend on: key paths
// and value names compare without regard to ASCII case, a trailing backslash names the same key,
// opening for reading never creates, writing needs a key created for writing, and the machine
// hive's SOFTWARE key has separate native and 32-bit views while the user hive is the same in both.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "environment/registry.h"
#include "registry_writer/writable_registry.h"

namespace updater::environment {

class MemoryRegistry final : public tools::WritableRegistry {
  public:
    struct OpenAttempt {
        RegRoot root;
        std::string path;
        RegView view;
        bool readOnly;  // OpenKey; CreateKey opens for writing
        bool opened;
    };

    Handle OpenKey(RegRoot root, std::string_view path, RegView view) noexcept override;
    bool CloseKey(Handle key) noexcept override;
    RegStatus QueryValue(Handle key, std::string_view name, RegValue& value) noexcept override;
    Handle CreateKey(RegRoot root, std::string_view path, RegView view) noexcept override;
    bool SetString(Handle key, std::string_view name, std::string_view data) noexcept override;
    bool SetDword(Handle key, std::string_view name, std::uint32_t data) noexcept override;
    bool DeleteValue(Handle key, std::string_view name) noexcept override;
    bool DeleteKeyTree(RegRoot root, std::string_view path, RegView view) noexcept override;

    // Stores a value of any type, creating the key; for setting up odd entries in tests.
    void Put(RegRoot root, std::string_view path, RegView view, std::string_view name, RegValue value);

    // Every OpenKey and CreateKey call so far, in order, and the keys still open.
    const std::vector<OpenAttempt>& OpenAttempts() const { return attempts_; }
    std::size_t OpenKeyCount() const { return open_.size(); }

  private:
    // Which of the stored trees a path lives in: 0 shared or native, 1 the machine's 32-bit SOFTWARE.
    using KeyId = std::tuple<RegRoot, int, std::string>;
    struct Key {
        std::map<std::string, RegValue> values;  // by folded name
    };
    struct OpenKeyState {
        KeyId id;
        bool readOnly;
    };

    static KeyId MakeId(RegRoot root, std::string_view path, RegView view);
    Handle Open(RegRoot root, std::string_view path, RegView view, bool readOnly) noexcept;
    Key* Find(const KeyId& id);
    Key& Create(const KeyId& id);
    Key* Writable(Handle key);
    bool Store(Handle key, std::string_view name, RegValue value) noexcept;

    std::map<KeyId, Key> keys_;
    std::map<Handle, OpenKeyState> open_;
    Handle nextHandle_ = 1;
    std::vector<OpenAttempt> attempts_;
};

}  // namespace updater::environment
