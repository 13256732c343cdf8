#include "app/update_engine.h"

#include "base/file_system.h"
#include "base/safe_file_write.h"
#include "base/system_text.h"
#include "environment/install_location.h"
#include "environment/shell.h"
#include "environment/shortcuts.h"
#include "environment/word_startup.h"
#include "patch/dictionary_update.h"
#include "patch/file_catalogue.h"
#include "patch/file_replacement.h"
#include "patch/file_state.h"

namespace updater::app {
namespace {

const patch::TPatchSlownikInfo* DictionaryRecordFor(std::int32_t appId) {
    for (const patch::TPatchSlownikInfo& record : patch::DictionaryUpdates()) {
        if (record.products.Contains(appId)) return &record;
    }
    return nullptr;
}

}  // namespace

SystemUpdateEngine::SystemUpdateEngine(const AppConfiguration& config, environment::Registry& registry,
                                       const patch::ResourceSource& resources)
    : config_(config), registry_(registry), resources_(resources) {}

std::string SystemUpdateEngine::FindInstallFolder(std::int32_t appId) {
    return environment::FindInstallFolder(registry_, appId);
}

bool SystemUpdateEngine::DirectoryExists(const std::string& path) {
    return base::DirectoryExists(path);
}
bool SystemUpdateEngine::FileExists(const std::string& path) {
    return base::FileExists(path);
}
char SystemUpdateEngine::PathSeparator() const {
    return base::PathSeparator();
}

std::string SystemUpdateEngine::FileName(int fileIndex) {
    return std::string(patch::FileName(fileIndex));
}

std::int32_t SystemUpdateEngine::CurrentVersionNumber(int fileIndex) {
    return patch::CurrentVersion(fileIndex);
}

patch::FileState SystemUpdateEngine::CheckFileState(int fileIndex, const std::string& path) {
    const patch::FileCheck check = patch::CheckFile(patch::CatalogueRow(fileIndex), path);
    checked_ = Checked{path, check.identity};
    return check.state;
}

patch::ReplaceOutcome SystemUpdateEngine::ReplaceFile(int fileIndex, const std::string& path) {
    // A file that was checked is replaced only while the path still leads to it; a missing one
    // (never checked) is created.
    std::optional<base::FileIdentity> identity;
    if (checked_ && checked_->path == path) identity = checked_->identity;
    checked_.reset();
    return patch::ReplaceTargetFile(patch::CatalogueRow(fileIndex), path, resources_, base::SystemFileSteps(),
                                    identity);
}

std::vector<std::string> SystemUpdateEngine::WordStartupFolders() {
    std::vector<std::string> lines;
    environment::GetWordStartupFolders(lines, environment::SystemShell(), registry_);
    return lines;
}

std::optional<std::string> SystemUpdateEngine::DictionaryFileFor(std::int32_t appId) {
    const patch::TPatchSlownikInfo* record = DictionaryRecordFor(appId);
    if (record == nullptr) return std::nullopt;
    return std::string(record->oldState.fileName);
}

patch::DictionaryUpdateResult SystemUpdateEngine::UpdateDictionary(const std::string& folder, std::int32_t& progress,
                                                                   UpdateView& view) {
    const patch::TPatchSlownikInfo* record = DictionaryRecordFor(config_.appId);
    if (record == nullptr) return {};
    int percent = 0;
    const patch::DictionaryUpdateResult result = patch::UpdateDictionary(folder, *record, resources_, percent, [&] {
        progress = percent;
        view.Pump();
    });
    progress = percent;
    return result;
}

void SystemUpdateEngine::UpdateShortcuts(const std::string& folder) {
    environment::UpdateShortcuts(config_.patchKind, config_.appId, folder, environment::SystemShell(), registry_);
}

std::u16string SystemUpdateEngine::Widen(const std::string& text) const {
    return base::WidenSystemText(text);
}
std::string SystemUpdateEngine::Narrow(const std::u16string& text) const {
    return base::NarrowSystemText(text);
}

}  // namespace updater::app
