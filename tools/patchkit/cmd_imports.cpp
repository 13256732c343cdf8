// patchkit imports [--list] EXE...: the functions each program imports statically, checked against
// the import table built into patchkit (resources/windows-imports.tsv: DLL, function, the first
// Windows version that has it). An import the table does not list, one newer than the oldest
// Windows the programs support, or a delay-load table (whose functions this check does not read)
// is named and makes the exit code 1. Functions a program looks up at run time (GetProcAddress)
// are no imports: their callers must cope with a Windows that lacks them.
#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "catalogue/catalogue_text.h"
#include "patchkit/command.h"
#include "patchkit/output_file.h"
#include "patchkit/pe_reader.h"

namespace patchkit {
namespace {

constexpr std::string_view kName = "imports";
constexpr std::string_view kTableName = "resources/windows-imports.tsv";
constexpr std::string_view kTable =
#include "windows_imports.inc"
    ;

// A Windows version as its NT numbers: "6.1" is 7, "10.0.14393" Windows 10 1607; nullopt when
// the text is not dotted numbers.
std::optional<std::vector<int>> ParseVersion(std::string_view text) {
    std::vector<int> parts;
    for (const std::string& part : updater::tools::Split(text, '.')) {
        if (part.empty() || part.size() > 6 || part.find_first_not_of("0123456789") != std::string::npos)
            return std::nullopt;
        parts.push_back(std::stoi(part));
    }
    return parts;
}

// a is newer than b; missing parts count as 0.
bool Newer(std::vector<int> a, std::vector<int> b) {
    const std::size_t size = std::max(a.size(), b.size());
    a.resize(size);
    b.resize(size);
    return a > b;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

struct Entry {
    std::string version;  // as the table writes it
    std::vector<int> numbers;
};
// (DLL in lower case, function) -> first Windows version.
using Table = std::map<std::pair<std::string, std::string>, Entry>;

// The built-in table; nullopt, with the line named, when a line is not DLL TAB FUNCTION TAB VERSION.
std::optional<Table> ParseTable(std::string& error) {
    Table table;
    int lineNumber = 0;
    for (std::string_view line : updater::tools::Split(kTable, '\n')) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        const auto fields = updater::tools::Split(line, '\t');
        std::optional<std::vector<int>> numbers;
        if (fields.size() == 3 && !fields[0].empty() && !fields[1].empty()) numbers = ParseVersion(fields[2]);
        if (!numbers) {
            error = std::string(kTableName) + ", line " + std::to_string(lineNumber) +
                    ": not DLL, function and Windows version separated by tabs";
            return std::nullopt;
        }
        table[{Lower(fields[0]), fields[1]}] = {fields[2], std::move(*numbers)};
    }
    return table;
}

// Checks one program; prints its summary (and with list, every import) and returns its problems.
std::vector<std::string> CheckProgram(const std::string& path, const Table& table, const std::vector<int>& oldest,
                                      bool list) {
    std::vector<std::uint8_t> image;
    if (std::string problem = ReadProgramFile(path, image); !problem.empty()) return {problem};
    const ImportsRead read = ReadPeImports(image);
    if (!read.imports) return {read.error};

    std::vector<std::string> problems;
    std::set<std::string> dlls;
    for (const ImportedFunction& f : *read.imports) {
        dlls.insert(Lower(f.dll));
        const auto found = table.find({Lower(f.dll), f.name});
        if (list) {
            std::printf("import %s %s: %s\n", f.dll.c_str(), f.name.c_str(),
                        found == table.end() ? "not in the table" : found->second.version.c_str());
        }
        if (found == table.end()) {
            problems.push_back(f.dll + " " + f.name + " is not in " + std::string(kTableName) +
                               ": add it with the first Windows version that has it");
        } else if (Newer(found->second.numbers, oldest)) {
            problems.push_back(f.dll + " " + f.name + " needs Windows " + found->second.version + ", newer than " +
                               UPDATER_OLDEST_WINDOWS_NAME + " (" + UPDATER_OLDEST_WINDOWS + ")");
        }
    }
    if (read.delayLoads) problems.push_back("it delay-loads DLLs, whose functions this check does not read");
    if (problems.empty()) {
        std::printf("imports %s: %zu functions from %zu DLLs, all in %s (%s) or older\n", path.c_str(),
                    read.imports->size(), dlls.size(), UPDATER_OLDEST_WINDOWS_NAME, UPDATER_OLDEST_WINDOWS);
    }
    return problems;
}

int Run(Arguments args) {
    const bool list = !args.empty() && args[0] == "--list";
    if (list) args = args.subspan(1);
    if (args.empty()) return UsageError(kName);
    std::string error;
    const std::optional<Table> table = ParseTable(error);
    if (!table) return Failure(kName, error);
    const std::vector<int> oldest = ParseVersion(UPDATER_OLDEST_WINDOWS).value_or(std::vector<int>{});

    int exitCode = kExitOk;
    for (const std::string& path : args) {
        const std::vector<std::string> problems = CheckProgram(path, *table, oldest, list);
        std::fflush(stdout);
        for (const std::string& problem : problems)
            Failure(kName, path + ": " + problem);
        if (!problems.empty()) exitCode = kExitFailed;
    }
    return exitCode;
}

const CommandRegistration kRegistration{
    kName, "[--list] EXE...",
    "check that every function a program imports is in the import table and in the oldest Windows supported", &Run};

}  // namespace
}  // namespace patchkit
