#pragma once
// The update run's engine for real: the registry, the files on disk, the program's own payloads,
// the shell. The run's logic lives in update_run.cpp; this only connects it to the other rooms.

#include <optional>
#include <string>
#include <vector>

#include "app/product_identity.h"
#include "app/update_run.h"
#include "base/file_system.h"
#include "environment/registry.h"
#include "patch/resource_source.h"

namespace updater::app {

class SystemUpdateEngine final : public UpdateEngine {
  public:
    SystemUpdateEngine(const AppConfiguration& config, environment::Registry& registry,
                       const patch::ResourceSource& resources);

    std::string FindInstallFolder(std::int32_t appId) override;
    std::vector<std::string> WordStartupFolders() override;
    patch::FileState CheckFileState(int fileIndex, const std::string& path) override;
    patch::ReplaceOutcome ReplaceFile(int fileIndex, const std::string& path) override;
    patch::DictionaryUpdateResult UpdateDictionary(const std::string& folder, std::int32_t& progress,
                                                   UpdateView& view) override;
    void UpdateShortcuts(const std::string& folder) override;

  private:
    const AppConfiguration& config_;
    environment::Registry& registry_;
    const patch::ResourceSource& resources_;
    // The file that the last state check judged: ReplaceFile replaces only that file.
    struct Checked {
        std::string path;
        std::optional<base::FileIdentity> identity;
    };
    std::optional<Checked> checked_;
};

}  // namespace updater::app
