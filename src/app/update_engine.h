#pragma once
// The update run's engine for real: the registry, the files on disk, the program's own payloads,
// the shell. The run's logic lives in update_run.cpp; this only connects it to the other rooms.

#include <optional>
#include <string>

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
    bool DirectoryExists(const std::string& path) override;
    bool FileExists(const std::string& path) override;
    char PathSeparator() const override;
    std::string FileName(int fileIndex) override;
    std::int32_t CurrentVersionNumber(int fileIndex) override;
    patch::FileState CheckFileState(int fileIndex, const std::string& path) override;
    patch::ReplaceOutcome ReplaceFile(int fileIndex, const std::string& path) override;
    std::vector<std::string> WordStartupFolders() override;
    std::optional<std::string> DictionaryFileFor(std::int32_t appId) override;
    patch::DictionaryUpdateResult UpdateDictionary(const std::string& folder, std::int32_t& progress,
                                                   UpdateView& view) override;
    void UpdateShortcuts(const std::string& folder) override;
    std::u16string Widen(const std::string& text) const override;
    std::string Narrow(const std::u16string& text) const override;

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
