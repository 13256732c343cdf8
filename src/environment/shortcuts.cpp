#include "environment/shortcuts.h"

#include <new>
#include <string_view>

#include "base/file_system.h"
#include "base/path.h"
#include "environment/product_titles.h"
#include "environment/shortcut_table.h"
#include "localisation/text_helpers.h"

namespace updater::environment {
namespace {

constexpr std::int32_t kGerman = 3;
constexpr std::int32_t kGroupLanguages[] = {0, 1};  // Polish, then English

// One half of the kind 6 step: a help file that now comes as a Polish and a German file.
struct HelpLinkPair {
    std::string_view polishFile;
    std::string_view germanFile;
    std::string_view oldLink;
    std::string_view polishLink;
    std::string_view germanLink;
};

// Link names are Windows-1250 bytes: \334 (0xDC) is U-umlaut, \xF6 o-umlaut.
constexpr HelpLinkPair kHelpLinkPairs[] = {
    {"Trans.chm", "TransD.chm", "Hilfedatei des \334bersetzungsprogramms.lnk",
     "Hilfedatei des \334bersetzungsprogramms (Polnisch).lnk", "Hilfedatei des \334bersetzungsprogramms (Deutsch).lnk"},
    {"Sl_Zew.chm", "Sl_ZewD.chm", "Hilfedatei des W\xF6rterbuchs.lnk", "Hilfedatei des W\xF6rterbuchs (Polnisch).lnk",
     "Hilfedatei des W\xF6rterbuchs (Deutsch).lnk"},
};

class Step {
  public:
    Step(Shell& shell, ShortcutStepLog& log) : shell_(shell), log_(log) {}

    // True when the shell wrote the link.
    bool Create(const std::string& target, const std::string& link, const std::string& description) {
        const bool created = shell_.CreateShortcut(target, link, description);
        (created ? log_.created : log_.failed).push_back(link);
        return created;
    }

    // The group is the user's to write, and this step may run with an administrator's rights: the
    // old link is looked at and removed through one handle in the group's folder, and only a plain
    // file of that name goes, never what a link of that name leads to.
    void Remove(const std::string& link) {
        if (base::RemovePlainFile(link) == base::FileError::kNone) log_.removed.push_back(link);
    }

  private:
    Shell& shell_;
    ShortcutStepLog& log_;
};

void HelpLinks(Step& step, std::int32_t appId, const std::string& folder, Registry& registry) {
    const std::string programs = GetProgramsFolder(registry, false);
    const std::string_view title = ProductTitle(appId, kGerman);
    // Without either, the "group" would be the Programs folder itself or a folder at the root.
    if (programs.empty() || title.empty()) return;
    const std::string group = base::WithTrailingSeparator(programs) + std::string(title);
    if (!base::DirectoryExists(group)) return;
    const std::string groupPrefix = base::WithTrailingSeparator(group);

    for (const HelpLinkPair& pair : kHelpLinkPairs) {
        const std::string polish = folder + std::string(pair.polishFile);
        const std::string german = folder + std::string(pair.germanFile);
        if (!base::FileExists(polish) || !base::FileExists(german)) continue;
        // The old link goes only once both links that replace it are there, so a failure never
        // leaves the group without a way to the help.
        const bool polishLinked = step.Create(polish, groupPrefix + std::string(pair.polishLink), "");
        const bool germanLinked = step.Create(german, groupPrefix + std::string(pair.germanLink), "");
        if (polishLinked && germanLinked) step.Remove(groupPrefix + std::string(pair.oldLink));
    }
}

void WebTranslatorLink(Step& step, std::int32_t appId, const std::string& folder, Registry& registry) {
    const std::string programs = GetProgramsFolder(registry, false);
    if (programs.empty()) return;
    const std::string prefix = base::WithTrailingSeparator(programs);

    std::string group;
    std::int32_t language = -1;
    for (std::int32_t n : kGroupLanguages) {
        std::string title(ProductTitle(appId, n));
        if (!title.empty() && !base::DirectoryExists(prefix + title)) title = localisation::DropLastChars(title, 2);
        // An empty title would name the Programs folder itself.
        if (!title.empty() && base::DirectoryExists(prefix + title)) {
            group = base::WithTrailingSeparator(prefix + title);
            language = n;
            break;
        }
    }
    if (language < 0) return;

    for (const TShortcutInfo& row : ShortcutTable()) {
        if (!row.products.Contains(appId)) continue;
        if (!localisation::TagListContains(row.fileName, kWebTranslatorTags, false, false)) continue;
        const std::string target = folder + std::string(row.fileName);
        if (!base::FileExists(target)) continue;
        if (!HasLanguage(row, language) || (row.flags & kShortcutFlagStartMenu) == 0) continue;
        const std::string caption(row.caption);
        step.Create(target, group + caption + ".lnk", caption);
    }
}

}  // namespace

ShortcutStepLog UpdateShortcuts(std::int32_t patchKind, std::int32_t appId, const std::string& installFolder,
                                Shell& shell, Registry& registry) noexcept {
    ShortcutStepLog log;
    try {
        // An empty folder would make every file name relative to wherever the program runs.
        if (installFolder.empty()) return log;
        const std::string folder = base::WithTrailingSeparator(installFolder);
        Step step(shell, log);
        if (patchKind == kPatchKindHelpLinks) {
            HelpLinks(step, appId, folder, registry);
        } else if (patchKind == kPatchKindWebTranslator) {
            WebTranslatorLink(step, appId, folder, registry);
        }
    } catch (const std::bad_alloc&) {
        // What was done so far stays done.
    }
    return log;
}

}  // namespace updater::environment
