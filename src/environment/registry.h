#pragma once
// The registry as the product and this program see it: keys under the current user's and the
// machine's hive, values read as 8-bit strings (the system code page), so scrambled names and data
// come back byte for byte as they were stored. The updater only reads.
//
// Registry is the seam: Win32 behind it on Windows (SystemRegistry()), an in-memory registry in
// tests (tests/test_support). Writing, for patchkit and the tests' set-up, is the tools' (the
// WritableRegistry of tools/registry_writer). Keys are RegKey values that close themselves.
// Nothing here throws.

#include <cstdint>
#include <string>
#include <string_view>

namespace updater::environment {

enum class RegRoot : std::uint8_t { kCurrentUser, kLocalMachine };

// Which view a key is opened in. On 64-bit Windows a 32-bit program's machine-wide SOFTWARE
// entries live in the 32-bit view; the user hive's SOFTWARE is the same in both views. On 32-bit
// Windows both are the one registry.
enum class RegView : std::uint8_t { kNative, k32Bit };

enum class RegType : std::uint8_t { kString, kDword, kOther };

struct RegValue {
    RegType type = RegType::kOther;
    // kString: the text without its terminating NUL; kDword: 4 bytes, little-endian; kOther: the raw
    // bytes. A string value that holds a NUL before its end reads as kOther: cut at the NUL, it would
    // name something else (another folder), so it is not taken as text at all.
    std::string data;
};

enum class RegStatus : std::uint8_t { kOk, kNotFound, kFailed };

class Registry {
  public:
    using Handle = std::uintptr_t;  // opaque to callers; never 0 for an open key

    virtual ~Registry() = default;

    // Read access only; a missing key is not created. Returns 0 on any failure.
    virtual Handle OpenKey(RegRoot root, std::string_view path, RegView view) noexcept = 0;
    virtual bool CloseKey(Handle key) noexcept = 0;
    virtual RegStatus QueryValue(Handle key, std::string_view name, RegValue& value) noexcept = 0;
};

// The machine's registry on Windows. Elsewhere an empty registry: nothing is recorded.
Registry& SystemRegistry() noexcept;

// An open key; closed when it goes out of scope. A default or failed RegKey is not open and every
// operation on it fails.
class RegKey {
  public:
    RegKey() = default;
    RegKey(Registry& registry, Registry::Handle handle) : registry_(&registry), handle_(handle) {}
    RegKey(RegKey&& other) noexcept;
    RegKey& operator=(RegKey&& other) noexcept;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    ~RegKey() { Close(); }

    bool IsOpen() const { return handle_ != 0; }
    // Closes and releases the key; false when closing failed (the key counts as closed anyway).
    bool Close() noexcept;

    RegStatus Query(std::string_view name, RegValue& value) const noexcept;

  protected:
    // For a key type that also writes (tools/registry_writer); 0 when not open.
    Registry::Handle KeyHandle() const { return handle_; }

  private:
    Registry* registry_ = nullptr;
    Registry::Handle handle_ = 0;
};

// The product's small registry routines.
RegKey OpenRegKey(Registry& registry, RegRoot root, std::string_view path, RegView view = RegView::kNative) noexcept;

struct RegBool {
    bool found = false;  // the key opened and the value exists, whatever its type
    bool value = false;  // a 32-bit integer value other than 0
};
RegBool ReadRegBool(Registry& registry, RegRoot root, std::string_view path, std::string_view name,
                    RegView view = RegView::kNative) noexcept;

// True when the key opened and the value exists as a string; then value holds it. Otherwise value
// is left as it was (a value of another type reads as not found).
bool ReadRegString(Registry& registry, RegRoot root, std::string_view path, std::string_view name, std::string& value,
                   RegView view = RegView::kNative) noexcept;

}  // namespace updater::environment
