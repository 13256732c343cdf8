// Without a desktop shell there are no special folders and no shortcut files.
#include "environment/shell.h"

namespace updater::environment {
namespace {

class NoShell final : public Shell {
  public:
    std::string GetSpecialFolder(std::int32_t) noexcept override { return {}; }
    bool CreateShortcut(const std::string&, const std::string&, const std::string&) noexcept override { return false; }
};

}  // namespace

Shell& SystemShell() noexcept {
    static NoShell shell;
    return shell;
}

}  // namespace updater::environment
