#pragma once
// A free name for a temporary file.

#include <string>
#include <string_view>

namespace updater::environment {

// prefix + name + "." + extension when nothing of that name exists; otherwise the first free one of
// name1, name2, ... (or name[1], name[2], ... when bracketed) with the same prefix and extension.
// An empty name with an empty extension becomes "noname". Numbered candidates are kept to 255
// characters by shortening the name; the first, unnumbered candidate is returned as built.
// A folder of the candidate's name counts as taken, since no file could be created there.
std::string UniqueFileName(std::string_view prefix, std::string_view name, std::string_view extension, bool bracketed);

}  // namespace updater::environment
