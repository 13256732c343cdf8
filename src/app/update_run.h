#pragma once
// RunUpdate: the whole update, started by the update button. It finds the install folder, checks
// and replaces every active file in every candidate folder, runs the dictionary step and the
// shortcut step, and shows each file's outcome and the final verdict. The engine's work is behind
// UpdateEngine; the window behind UpdateView; the run only decides.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/catalogue_texts.h"
#include "app/product_identity.h"
#include "app/responsive_file_steps.h"
#include "app/update_view.h"
#include "patch/dictionary_update.h"
#include "patch/file_replacement.h"
#include "patch/file_state.h"

namespace updater::app {

// The run's effects on the system that tests replace: finding the product, the word processor's
// folders, checking and writing files, the dictionary and the shortcuts. Each call reports its
// outcome as a value; the run also survives a call that throws (see RunUpdate). The file system's
// questions, the catalogue and text conversion the run asks directly.
class UpdateEngine {
  public:
    virtual ~UpdateEngine() = default;

    // The install folder as the product recorded it, without a trailing separator; empty if none.
    virtual std::string FindInstallFolder(std::int32_t appId) = 0;
    // The word processor's start-up folders as name=folder lines.
    virtual std::vector<std::string> WordStartupFolders() = 0;
    // The state of an existing file, and which file it judged.
    virtual patch::FileCheck CheckFile(int fileIndex, const std::string& path) = 0;
    // Writes the current version of the file; ok() when it was written completely. It takes the
    // place only of the file that checked names (a check's identity), whatever the path leads to
    // by then; without one (a missing file is created) of whatever has the name.
    virtual patch::ReplaceOutcome WriteCurrentVersion(int fileIndex, const std::string& path,
                                                      const std::optional<base::FileIdentity>& checked) = 0;
    // Dictionary update of the product's record (DictionaryRecordFor) in a folder that ends with
    // a separator: its code and what became of the conversion. It writes the percentage into
    // progress and calls view.Pump() while it works.
    virtual patch::DictionaryUpdateResult UpdateDictionary(const std::string& folder, std::int32_t& progress,
                                                           UpdateView& view) = 0;
    // The shortcut step of the patch kind, with the folder as the run holds it.
    virtual void UpdateShortcuts(const std::string& folder) = 0;
    // The programs that hold a file open, where the system can tell: named when its replacement
    // fails.
    virtual std::vector<FileHolder> ProgramsHolding([[maybe_unused]] const std::string& path) { return {}; }
};

// The patch kind that lets the user browse for the program when its folder is not found.
inline constexpr std::int32_t kPatchKindBrowse = 4;
// The word processor's templates: also looked for in its start-up folders.
inline constexpr int kFirstTemplateFileIndex = 29;
inline constexpr int kLastTemplateFileIndex = 30;

// The update run. Nothing it calls can leave the window stuck: an error thrown by a called part
// is caught here, shown (kTextCannotOpen with the path being worked on, else kTextFolderNotFound),
// and the run ends as failed with both buttons enabled again. A file that cannot be replaced is
// asked about with its path, the reason and the programs holding it; in an extra folder (a word
// processor's start-up folder) too, where it fails the run as well. A file that another updater
// has meanwhile brought to its current version is no failure: it is checked again first.
void RunUpdate(const AppConfiguration& config, MainWindowState& state, UpdateView& view, const TextLookup& texts,
               UpdateEngine& engine);

// The dictionary step; true when the dictionary update reported work or failure. A file that is
// not in its new state afterwards (neither state found, or a conversion that did not end with the
// new file in place) shows "Error" on its line and makes the run fail; one that could not be
// replaced is asked about as a file is.
bool RunDictionaryStep(const std::string& folder, const AppConfiguration& config, MainWindowState& state,
                       UpdateView& view, const TextLookup& texts, UpdateEngine& engine);

}  // namespace updater::app
