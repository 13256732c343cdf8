#pragma once
// SystemUpdateEngine: the update run's effects on this system. The install folder and the word
// processor's start-up folders from the registry, each file checked against its catalogue row and
// written from this program's payloads, the dictionary converted and the Start-menu links made;
// each call hands its work to the room that does it.

#include <optional>
#include <string>
#include <vector>

#include "app/product_identity.h"
#include "app/responsive_file_steps.h"
#include "app/update_run.h"
#include "base/file_system.h"
#include "base/safe_file_write.h"
#include "environment/registry.h"
#include "patch/resource_source.h"

namespace updater::app {

class SystemUpdateEngine final : public UpdateEngine {
  public:
    // steps are the safe write's file operations for the replacements and the dictionary (the
    // program's wait while the window answers, ResponsiveFileSteps); holders names the programs
    // that hold a file.
    SystemUpdateEngine(const AppConfiguration& config, environment::Registry& registry,
                       const patch::ResourceSource& resources, base::FileSteps& steps = base::SystemFileSteps(),
                       HolderLookup holders = {});

    std::string FindInstallFolder(std::int32_t appId) override;
    std::vector<std::string> WordStartupFolders() override;
    patch::FileCheck CheckFile(int fileIndex, const std::string& path) override;
    patch::ReplaceOutcome WriteCurrentVersion(int fileIndex, const std::string& path,
                                              const std::optional<base::FileIdentity>& checked) override;
    patch::DictionaryUpdateResult UpdateDictionary(const std::string& folder, std::int32_t& progress,
                                                   UpdateView& view) override;
    void UpdateShortcuts(const std::string& folder) override;
    std::vector<FileHolder> ProgramsHolding(const std::string& path) override;

  private:
    const AppConfiguration& config_;
    environment::Registry& registry_;
    const patch::ResourceSource& resources_;
    base::FileSteps& steps_;
    HolderLookup holders_;
};

}  // namespace updater::app
