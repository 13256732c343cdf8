#pragma once
// The shortcut step at the end of an update: some patches add shortcuts to the product's program
// group in the Start menu and remove the ones they supersede.
//
//   kind 6: the German products' help files, split into a Polish and a German file, each get their
//           own link in place of the old single link (removed only once both new ones are written);
//   kind 9: the web-page translator program gets the caption row's link;
//   every other kind: nothing.
//
// Only the per-user Programs folder is searched for the program group. Nothing here throws or
// reports to the user; a missing group or missing files simply mean less is done.

#include <cstdint>
#include <string>
#include <vector>

#include "environment/registry.h"
#include "environment/shell.h"

namespace updater::environment {

inline constexpr std::int32_t kPatchKindHelpLinks = 6;
inline constexpr std::int32_t kPatchKindWebTranslator = 9;

// The program file whose shortcut kind 9 adds, as a tag list for TagListContains.
inline constexpr std::string_view kWebTranslatorTags = "<Quorbelpl2.exe>";

// What the step did, for tools; the update itself ignores it.
struct ShortcutStepLog {
    std::vector<std::string> removed;  // old link files deleted
    std::vector<std::string> created;  // link files written
    std::vector<std::string> failed;   // link files the shell could not write
};

// Runs the step of patchKind for the product appId installed in installFolder (with or without a
// trailing separator; an empty folder means the product was not found and nothing is done).
ShortcutStepLog UpdateShortcuts(std::int32_t patchKind, std::int32_t appId, const std::string& installFolder,
                                Shell& shell, Registry& registry) noexcept;

}  // namespace updater::environment
