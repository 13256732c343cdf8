// Systems without a registry: an empty one, so every lookup finds nothing recorded.
#include "environment/registry.h"

namespace updater::environment {
namespace {

class NoRegistry final : public Registry {
  public:
    Handle OpenKey(RegRoot, std::string_view, RegView) noexcept override { return 0; }
    bool CloseKey(Handle) noexcept override { return false; }
    RegStatus QueryValue(Handle, std::string_view, RegValue&) noexcept override { return RegStatus::kFailed; }
};

}  // namespace

Registry& SystemRegistry() noexcept {
    static NoRegistry registry;
    return registry;
}

}  // namespace updater::environment
