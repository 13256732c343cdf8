#include "app/update_run.h"

#include <algorithm>
#include <exception>

#include "app/caption_format.h"
#include "app/full_path.h"
#include "app/text_ids.h"
#include "base/file_system.h"
#include "base/path.h"
#include "base/system_text.h"
#include "patch/file_catalogue.h"

namespace updater::app {
namespace {

// The folder part of a name=folder line: everything after the first "=".
std::string FolderOfLine(const std::string& line) {
    const std::size_t eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(eq + 1);
}

// What a file that could not be replaced is told with: why (in use, a full disk, or any other
// input/output error), the programs that hold it where the system can tell, and its path.
std::u16string CannotReplaceMessage(const TextLookup& texts, Language language, base::FileError error,
                                    const std::string& path, const std::vector<FileHolder>& holders) {
    const std::int32_t reason = error == base::FileError::kSharingViolation ? kTextFileInUse
                                : error == base::FileError::kDiskFull       ? kTextDiskFull
                                                                            : kTextIoError;
    std::u16string message = texts.Text(language, reason, false);
    std::vector<std::u16string> names;
    for (const FileHolder& holder : holders) {
        if (!holder.name.empty() && std::find(names.begin(), names.end(), holder.name) == names.end())
            names.push_back(holder.name);
    }
    for (std::size_t n = 0; n < names.size(); ++n)
        message += (n == 0 ? u" (" : u", ") + names[n] + (n + 1 == names.size() ? u")" : u"");
    return message + u":\n" + base::WidenSystemText(path);
}

// Whether the new file was gone before it could be checked or moved into place: the mark of
// another updater at work in the same folder at the same time.
bool NewFileVanished(const patch::ReplaceOutcome& outcome) {
    return outcome.failedStep == patch::ReplaceStep::kWrite && outcome.written.error == base::FileError::kNotFound &&
           (outcome.written.failedStep == base::SafeWriteStep::kVerify ||
            outcome.written.failedStep == base::SafeWriteStep::kMove);
}

class Run {
  public:
    Run(const AppConfiguration& config, MainWindowState& state, UpdateView& view, const TextLookup& texts,
        UpdateEngine& engine)
        : config_(config), state_(state), view_(view), texts_(texts), engine_(engine) {}

    void Execute() {
        state_.succeeded = true;
        state_.finished = false;
        changed_ = false;

        view_.SetMainText(IntroductionText(texts_, state_.uiLanguage, config_.configuredEntry));
        view_.SetUpdateEnabled(false);
        view_.SetFinishEnabled(false);
        view_.Pump();

        try {
            Work();
        } catch (...) {
            // A part that throws instead of reporting must not leave the window unusable.
            view_.SetProgressTimer(false);
            state_.succeeded = false;
            const std::u16string message =
                currentPath_.empty() ? Text(kTextFolderNotFound)
                                     : FormatCaption(Text(kTextCannotOpen), {base::WidenSystemText(currentPath_)});
            view_.Ask(message, 0);
        }

        state_.finished = true;
        view_.SetUpdateEnabled(true);
        view_.SetFinishEnabled(true);
        view_.Pump();

        if (!state_.succeeded) {
            view_.SetMainText(Text(kTextFailed));
        } else {
            view_.SetMainText(Text(changed_ ? kTextSucceeded : kTextNothingToUpdate));
            view_.FocusFinish();
        }
        view_.Pump();
    }

  private:
    std::u16string Text(std::int32_t id) const { return texts_.Text(state_.uiLanguage, id, false); }

    void Work() {
        std::string folder = engine_.FindInstallFolder(config_.appId);

        if (config_.patchKind == kPatchKindBrowse && (folder.empty() || !base::DirectoryExists(folder))) {
            if (std::optional<std::u16string> chosen = view_.BrowseForProgram())
                folder = base::FolderOf(base::NarrowSystemText(*chosen));
        }

        if (folder.empty() || !base::DirectoryExists(folder)) {
            // Without the product's folder there is nothing of the product's to touch: the
            // dictionary and shortcut steps would otherwise look in the current drive's root or
            // the current folder, and convert, delete or link whatever they found there.
            state_.succeeded = false;
            view_.Ask(Text(kTextFolderNotFound), 0);
            return;
        }

        // As the system opens it, so that the files are looked for, and named, where they are.
        folder = base::WithTrailingSeparator(FullPathAsOpened(folder), base::PathSeparator());
        // Every row of the catalogue, whatever is configured.
        for (int i = patch::kFirstFileIndex; i <= patch::kLastFileIndex; ++i) {
            if (config_.activeSet.Contains(i)) UpdateFile(i, folder);
        }

        if (config_.settings.updateDictionaries && RunDictionaryStep(folder, config_, state_, view_, texts_, engine_)) {
            changed_ = true;
        }
        engine_.UpdateShortcuts(folder);
    }

    void UpdateFile(int i, const std::string& folder) {
        bool verdict = false;
        const std::string name(patch::FileName(i));
        view_.AppendMainText(FormatCaption(Text(kTextUpdatingFile), {base::WidenSystemText(name)}));
        view_.Pump();

        std::vector<std::string> candidates;
        if (i >= kFirstTemplateFileIndex && i <= kLastTemplateFileIndex) candidates = engine_.WordStartupFolders();
        candidates.insert(candidates.begin(), "MAIN=" + folder);

        const std::size_t count = candidates.size();
        for (std::size_t k = 0; k < count; ++k) {
            const std::string path =
                base::WithTrailingSeparator(FolderOfLine(candidates[k]), base::PathSeparator()) + name;
            currentPath_ = path;
            if (k > 0 && !base::DirectoryExists(FolderOfLine(candidates[k]))) {
                // The start-up folder of a word processor that is not installed: nothing to update.
                verdict = true;
            } else if (base::FileExists(path)) {
                const patch::FileCheck check = engine_.CheckFile(i, path);
                switch (check.state) {
                    case patch::FileState::kCurrent:
                        verdict = true;
                        break;
                    case patch::FileState::kOld:
                        changed_ = true;
                        verdict = Replace(i, path, k, check.identity);
                        break;
                    case patch::FileState::kUnknownVersion:
                        view_.Ask(FormatCaption(Text(kTextUnknownVersion), {base::WidenSystemText(path)}), 0);
                        break;
                    case patch::FileState::kError:
                        view_.Ask(FormatCaption(Text(kTextCannotOpen), {base::WidenSystemText(path)}), 0);
                        break;
                }
            } else if (patch::CurrentVersion(i) == 1) {
                // A file with no older version is new in this patch: create it wherever it is missing.
                changed_ = true;
                verdict = Replace(i, path, k, std::nullopt);
            } else if (k > 0) {
                verdict = true;
            } else {
                view_.Ask(FormatCaption(Text(kTextFileNotFound), {base::WidenSystemText(path)}), 0);
            }

            // Only the main folder's outcome is reported and counted.
            if (k == 0) {
                if (!verdict) state_.succeeded = false;
                view_.AppendMainText(Text(verdict ? kTextOk : kTextError));
            }
            currentPath_.clear();
        }
    }

    // Replaces the file that checked names (none: the missing file is created); true when it is in
    // its current version afterwards. Another updater at work on the same folder may have put the
    // current version in place first, or removed the new file before it was in place: the file is
    // checked again, and replaced once more if need be, before a failure is reported. A failure
    // names the file, why and, where the system can tell, the programs holding it; one in an extra
    // folder fails the run too (the main folder's line does that for its own).
    bool Replace(int i, const std::string& path, std::size_t k, const std::optional<base::FileIdentity>& checked) {
        view_.Pump();  // between the state check's reading of the file and the replacement's work
        patch::ReplaceOutcome outcome = engine_.WriteCurrentVersion(i, path, checked);
        for (int again = 0; !outcome.ok(); ++again) {
            const bool exists = base::FileExists(path);
            const patch::FileCheck now = exists ? engine_.CheckFile(i, path) : patch::FileCheck{};
            if (now.state == patch::FileState::kCurrent) return true;
            // The other updater's clean-up took our new file for a leftover of a killed run before it
            // was moved into place: once more, while the file is still to be replaced.
            if (again > 0 || !NewFileVanished(outcome) || (exists && now.state != patch::FileState::kOld)) break;
            outcome = engine_.WriteCurrentVersion(i, path, now.identity);
        }
        if (outcome.ok()) return true;
        const base::FileError error =
            outcome.failedStep == patch::ReplaceStep::kWrite ? outcome.written.error : base::FileError::kIo;
        view_.Ask(CannotReplaceMessage(texts_, state_.uiLanguage, error, path, engine_.ProgramsHolding(path)), 0);
        if (k > 0) state_.succeeded = false;
        return false;
    }

    const AppConfiguration& config_;
    MainWindowState& state_;
    UpdateView& view_;
    const TextLookup& texts_;
    UpdateEngine& engine_;
    bool changed_ = false;
    std::string currentPath_;  // the file being worked on, for the message if something throws
};

}  // namespace

void RunUpdate(const AppConfiguration& config, MainWindowState& state, UpdateView& view, const TextLookup& texts,
               UpdateEngine& engine) {
    Run(config, state, view, texts, engine).Execute();
}

bool RunDictionaryStep(const std::string& folder, const AppConfiguration& config, MainWindowState& state,
                       UpdateView& view, const TextLookup& texts, UpdateEngine& engine) {
    const patch::TPatchSlownikInfo* record = patch::DictionaryRecordFor(config.appId);
    if (record == nullptr) return false;

    view.AppendMainText(FormatCaption(texts.Text(state.uiLanguage, kTextUpdatingFile, false),
                                      {base::WidenSystemText(record->oldState.fileName)}));
    state.progressBaseText = view.MainText();
    view.SetProgressTimer(true);

    const patch::DictionaryUpdateResult outcome = engine.UpdateDictionary(
        base::WithTrailingSeparator(folder, base::PathSeparator()), state.progressPercent, view);
    const bool verdict = outcome.NewFileInPlace();
    const bool result = outcome.code != patch::DictionaryUpdateCode::kAlreadyNew;
    if (!verdict) state.succeeded = false;
    view.SetProgressTimer(false);
    view.SetMainText(state.progressBaseText + texts.Text(state.uiLanguage, verdict ? kTextOk : kTextError, false));
    if (outcome.outcome == patch::DictionaryUpdateOutcome::kNotWritten) {
        // Why the dictionary stays as it was: the conversion's own failure, or the safe write's.
        const base::FileError error = outcome.written.failedStep == base::SafeWriteStep::kProduce
                                          ? outcome.conversion.fileError
                                          : outcome.written.error;
        const std::string path =
            base::WithTrailingSeparator(folder, base::PathSeparator()) + std::string(record->newState.fileName);
        view.Ask(CannotReplaceMessage(texts, state.uiLanguage, error, path, engine.ProgramsHolding(path)), 0);
    }
    return result;
}

}  // namespace updater::app
