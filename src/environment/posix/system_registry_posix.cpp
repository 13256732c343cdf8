// Systems without a registry: an empty one, so every lookup finds nothing recorded and nothing
// can be written.
#include "environment/registry.h"

namespace updater::environment {
namespace {

class NoRegistry final : public Registry {
  public:
    Handle OpenKey(RegRoot, std::string_view, bool, RegView) noexcept override { return 0; }
    bool CloseKey(Handle) noexcept override { return false; }
    RegStatus QueryValue(Handle, std::string_view, RegValue&) noexcept override { return RegStatus::kFailed; }
    bool SetString(Handle, std::string_view, std::string_view) noexcept override { return false; }
    bool SetDword(Handle, std::string_view, std::uint32_t) noexcept override { return false; }
    bool DeleteValue(Handle, std::string_view) noexcept override { return false; }
    bool DeleteKeyTree(RegRoot, std::string_view, RegView) noexcept override { return false; }
};

}  // namespace

Registry& SystemRegistry() noexcept {
    static NoRegistry registry;
    return registry;
}

}  // namespace updater::environment
