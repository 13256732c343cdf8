#include "app/update_engine.h"

#include "base/file_system.h"
#include "base/safe_file_write.h"
#include "environment/install_location.h"
#include "environment/shell.h"
#include "environment/shortcuts.h"
#include "environment/word_startup.h"
#include "patch/dictionary_update.h"
#include "patch/file_catalogue.h"
#include "patch/file_replacement.h"
#include "patch/file_state.h"

namespace updater::app {

SystemUpdateEngine::SystemUpdateEngine(const AppConfiguration& config, environment::Registry& registry,
                                       const patch::ResourceSource& resources, base::FileSteps& steps,
                                       HolderLookup holders)
    : config_(config), registry_(registry), resources_(resources), steps_(steps), holders_(std::move(holders)) {}

std::string SystemUpdateEngine::FindInstallFolder(std::int32_t appId) {
    return environment::FindInstallFolder(registry_, appId);
}

patch::FileCheck SystemUpdateEngine::CheckFile(int fileIndex, const std::string& path) {
    return patch::CheckFile(patch::CatalogueRow(fileIndex), path);
}

patch::ReplaceOutcome SystemUpdateEngine::WriteCurrentVersion(int fileIndex, const std::string& path,
                                                              const std::optional<base::FileIdentity>& checked) {
    return patch::ReplaceTargetFile(patch::CatalogueRow(fileIndex), path, resources_, steps_, checked);
}

std::vector<std::string> SystemUpdateEngine::WordStartupFolders() {
    std::vector<std::string> lines;
    environment::GetWordStartupFolders(lines, environment::SystemShell(), registry_);
    return lines;
}

patch::DictionaryUpdateResult SystemUpdateEngine::UpdateDictionary(const std::string& folder, std::int32_t& progress,
                                                                   UpdateView& view) {
    const patch::TPatchSlownikInfo* record = patch::DictionaryRecordFor(config_.appId);
    if (record == nullptr) return {};
    int percent = 0;
    const patch::DictionaryUpdateResult result = patch::UpdateDictionary(
        folder, *record, resources_, percent,
        [&] {
            progress = percent;
            view.Pump();
        },
        steps_);
    progress = percent;
    return result;
}

std::vector<FileHolder> SystemUpdateEngine::ProgramsHolding(const std::string& path) {
    return holders_ ? holders_(path) : std::vector<FileHolder>();
}

void SystemUpdateEngine::UpdateShortcuts(const std::string& folder) {
    environment::UpdateShortcuts(config_.patchKind, config_.appId, folder, environment::SystemShell(), registry_);
}

}  // namespace updater::app
