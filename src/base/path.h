#pragma once
// Taking the 8-bit paths the program handles apart and putting them together. Two rules say what
// ends a folder name, and each function names the one it follows:
// - a Windows path's: '\\' or '/', on every system. The install folder, the shell's folders, Word's
//   start-up folders and the program the user browses to are Windows paths; the tests on other
//   systems hand them over as they are.
// - this system's: '\\' or '/' on Windows, only '/' elsewhere, where '\\' is part of a name. For
//   the file room's own calls on real files of the machine.

#include <string>
#include <string_view>

namespace updater::base {

// The folder separator of the platform ('\\' on Windows, '/' elsewhere): what is put between a
// folder and a name.
char PathSeparator();

namespace path_detail {
inline constexpr std::string_view kWindowsSeparators = "\\/";
inline std::string_view SystemSeparators() {
    return PathSeparator() == '\\' ? kWindowsSeparators : std::string_view("/");
}
inline bool IsWindowsSeparator(char c) {
    return kWindowsSeparators.find(c) != std::string_view::npos;
}
}  // namespace path_detail

// A Windows path's folder: everything before its last separator, without it; empty when it has
// none. "C:\\Lexivo\\Quorbel2.exe" gives "C:\\Lexivo", "C:\\Quorbel2.exe" gives "C:", and
// "\\Quorbel2.exe" gives "".
inline std::string_view FolderOf(std::string_view path) {
    const std::size_t cut = path.find_last_of(path_detail::kWindowsSeparators);
    return cut == std::string_view::npos ? std::string_view() : path.substr(0, cut);
}

// A Windows path's folder as the prefix a name is appended to: everything up to and including its
// last separator or a drive's ':' ("C:Trans.chm" gives "C:"); empty when it has neither.
inline std::string_view FolderPrefixOf(std::string_view path) {
    const std::size_t last = path.find_last_of("\\/:");
    return last == std::string_view::npos ? std::string_view() : path.substr(0, last + 1);
}

// folder with a separator at its end: separator is appended unless folder already ends with '\\'
// or '/'. An empty folder stays empty: it names no folder, and a separator would make it the root.
inline std::string WithTrailingSeparator(std::string folder, char separator = PathSeparator()) {
    if (!folder.empty() && !path_detail::IsWindowsSeparator(folder.back())) folder.push_back(separator);
    return folder;
}

// path without the separators ('\\' or '/') at its end.
inline std::string WithoutTrailingSeparators(std::string path) {
    while (!path.empty() && path_detail::IsWindowsSeparator(path.back()))
        path.pop_back();
    return path;
}

// The folder that holds the file a path of this system names, as a path that can be opened: "."
// for a bare name, the root for a file in the root.
inline std::string FolderHolding(std::string_view path) {
    const std::size_t cut = path.find_last_of(path_detail::SystemSeparators());
    if (cut == std::string_view::npos) return ".";
    if (cut == 0) return std::string(1, PathSeparator());
    return std::string(path.substr(0, cut));
}

// The name a path of this system ends in: everything after its last separator, the whole path
// when it has none.
inline std::string_view NameOf(std::string_view path) {
    const std::size_t cut = path.find_last_of(path_detail::SystemSeparators());
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

}  // namespace updater::base
