// patchkit next-version DECLARATION INDEX NEWFILE VERSION [--split BYTES] [--names A[,B]]: a
// publisher's next version of one file in one step. Packs NEWFILE into the row's payloads
// (resources/payloads/NAME.bin), adds it to the row in resources/catalogue.txt as the new current
// version (the old current one stays known, so installations of it are updated too), and points
// the declaration's PAYLOADS_INDEX (and VERSION, when the row is the one the window shows) at it.
// Everything is checked before anything is written; what is then written is rolled back if a
// later write fails.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "base/path.h"
#include "patch/crc32.h"
#include "patch/file_catalogue.h"
#include "patch/payload_decoder.h"
#include "patchkit/arguments.h"
#include "patchkit/command.h"
#include "patchkit/declaration_text.h"
#include "patchkit/output_file.h"
#include "payload_encoder/payload_encoder.h"

namespace {

using namespace updater;
using patchkit::DeclarationText;

constexpr std::string_view kName = "next-version";
constexpr std::int64_t kMaxFile = 2 * static_cast<std::int64_t>(tools::kMaxEncodablePiece);

std::string Trim(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const auto end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

std::string Digits(std::string_view text) {
    std::string digits;
    std::copy_if(text.begin(), text.end(), std::back_inserter(digits), [](char c) { return c >= '0' && c <= '9'; });
    return digits;
}

bool IsResourceName(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    });
}

// The folder above DECLARATION that holds resources/catalogue.txt: the source tree it belongs to.
std::optional<std::string> SourceTreeOf(const std::string& declaration) {
    for (std::string folder = base::FolderHolding(declaration);;) {
        if (base::FileExists(folder + "/resources/catalogue.txt")) return folder;
        // Up to the root or a drive ("Z:", whose folder would be the working folder).
        std::string above = base::FolderHolding(folder);
        if (above == folder || folder.back() == ':') return std::nullopt;
        folder = std::move(above);
    }
}

// One line of the catalogue, its columns as written (with their padding) and the parsed versions.
struct CatalogueRow {
    std::size_t line = 0;  // index into the file's lines
    std::vector<std::string> columns;
    struct Known {
        int version;
        std::int64_t size;
        std::uint32_t crc;
    };
    std::vector<Known> known;
    std::string Column(std::size_t i) const { return Trim(columns[i]); }
};

std::optional<CatalogueRow> FindRow(const std::vector<std::string>& lines, int index, std::string& why) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty() || lines[i][0] == '#') continue;
        const auto columns = Split(lines[i], '|');
        if (columns.size() != 8 || Trim(columns[0]) != std::to_string(index)) continue;
        CatalogueRow row;
        row.line = i;
        for (auto c : columns)
            row.columns.emplace_back(c);
        const std::string versions = Trim(columns[7]);
        for (auto entry : Split(versions, ' ')) {
            if (entry.empty()) continue;
            // VERSION=SIZE/CRC32, each part whole.
            const auto equals = entry.find('='), slash = entry.find('/');
            int version = 0;
            long long size = 0;
            std::uint32_t crc = 0;
            auto whole = [](std::string_view text, auto& value, int base) {
                const auto end = text.data() + text.size();
                const auto [at, error] = std::from_chars(text.data(), end, value, base);
                return !text.empty() && error == std::errc() && at == end;
            };
            if (equals == std::string_view::npos || slash == std::string_view::npos || slash < equals ||
                !whole(entry.substr(0, equals), version, 10) ||
                !whole(entry.substr(equals + 1, slash - equals - 1), size, 10) || entry.size() - slash - 1 != 8 ||
                !whole(entry.substr(slash + 1), crc, 16)) {
                why = "row " + std::to_string(index) + ": \"" + std::string(entry) + "\" is not VERSION=SIZE/CRC32";
                return std::nullopt;
            }
            row.known.push_back({version, size, crc});
        }
        if (row.known.empty()) why = "row " + std::to_string(index) + " lists no known version";
        return row.known.empty() ? std::nullopt : std::optional(row);
    }
    why = "no row " + std::to_string(index);
    return std::nullopt;
}

// COLUMN's new content, padded to the width it had when it still fits.
std::string Padded(const std::string& column, const std::string& content, bool last) {
    if (last) return " " + content;
    const std::size_t width = column.size() >= 2 ? column.size() - 2 : 0;
    return " " + content + std::string(width > content.size() ? width - content.size() : 0, ' ') + " ";
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& l : lines)
        text += l + "\n";
    return text;
}

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::optional<std::vector<std::uint8_t>> DecodedFile(const std::string& path, std::string& why) {
    const patchkit::InputFile input = patchkit::ReadInputFile(path, 4 * 1024 * 1024);
    if (input.error != base::FileError::kNone || input.tooLarge) {
        why = path + ": " +
              (input.tooLarge ? std::string("larger than any payload") : std::string(base::Describe(input.error)));
        return std::nullopt;
    }
    patch::PayloadDecoder decoder;
    if (decoder.Decode(input.bytes) != patch::DecodeError::kNone) {
        why = path + ": " + decoder.FailureReason();
        return std::nullopt;
    }
    const auto out = decoder.Output();
    return std::vector<std::uint8_t>(out.begin(), out.end());
}

struct Options {
    std::optional<long long> split;
    std::vector<std::string> names;
};

int Run(patchkit::Arguments args) {
    if (args.size() < 4) return patchkit::UsageError(kName);
    const std::string& declarationPath = args[0];
    const std::string& newFilePath = args[2];
    const std::string& versionText = args[3];
    const auto index = patchkit::ParseInteger(args[1], patch::kFirstFileIndex, patch::kLastFileIndex);
    if (!index) return patchkit::RangeError(kName, "INDEX", patch::kFirstFileIndex, patch::kLastFileIndex);
    if (*index <= patch::kLastProbedFileIndex) {
        return patchkit::ArgumentError(kName,
                                       "files 1 to 23 are told apart by probe tables, which this command does "
                                       "not make: add such a version by hand");
    }
    if (versionText.empty() || versionText.find_first_not_of("0123456789.") != std::string::npos)
        return patchkit::ArgumentError(kName, "VERSION is digits and dots, for example 2.5.2");
    Options options;
    for (std::size_t i = 4; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) return patchkit::ArgumentError(kName, args[i] + " needs a value");
        if (args[i] == "--split") {
            options.split = patchkit::ParseInteger(args[i + 1], 1, static_cast<int>(tools::kMaxEncodablePiece));
            if (!options.split)
                return patchkit::RangeError(kName, "--split", 1, static_cast<int>(tools::kMaxEncodablePiece));
        } else if (args[i] == "--names") {
            for (auto n : Split(args[i + 1], ','))
                options.names.emplace_back(n);
        } else {
            return patchkit::ArgumentError(kName, "unknown option " + args[i]);
        }
    }

    // What is there now: the source tree, its catalogue row and the declaration.
    const auto root = SourceTreeOf(declarationPath);
    if (!root) return patchkit::Failure(kName, declarationPath + ": no resources/catalogue.txt in a folder above it");
    const std::string cataloguePath = *root + "/resources/catalogue.txt";
    std::string why;
    const patchkit::InputFile catalogueFile = patchkit::ReadInputFile(cataloguePath, 1024 * 1024);
    const patchkit::InputFile declarationFile = patchkit::ReadInputFile(declarationPath, 1024 * 1024);
    for (const auto* f : {&catalogueFile, &declarationFile}) {
        if (f->error != base::FileError::kNone || f->tooLarge) {
            const std::string& path = f == &catalogueFile ? cataloguePath : declarationPath;
            return patchkit::Failure(
                kName, path + ": " + (f->tooLarge ? "larger than 1 MiB" : std::string(base::Describe(f->error))));
        }
    }
    std::string catalogueText(catalogueFile.bytes.begin(), catalogueFile.bytes.end());
    if (!catalogueText.empty() && catalogueText.back() == '\n') catalogueText.pop_back();
    std::vector<std::string> lines;
    for (auto l : Split(catalogueText, '\n'))
        lines.emplace_back(l);
    auto row = FindRow(lines, *index, why);
    if (!row) return patchkit::Failure(kName, cataloguePath + ": " + why);

    DeclarationText declaration(std::string(declarationFile.bytes.begin(), declarationFile.bytes.end()));
    if (const auto active = declaration.Values("ACTIVE_SET");
        active && std::find(active->begin(), active->end(), std::to_string(*index)) == active->end()) {
        return patchkit::Failure(kName,
                                 declarationPath + ": file " + std::to_string(*index) + " is not in its ACTIVE_SET");
    }

    const std::string payloadsName = "PAYLOADS_" + std::to_string(*index);
    const auto oldPayloads = declaration.Values(payloadsName);
    if (!oldPayloads) {
        return patchkit::Failure(kName, declarationPath + " does not set " + payloadsName +
                                            " itself; give the declaration that does (the one it includes)");
    }
    // The new version: not one already known, and room for it.
    const patchkit::InputFile newFile = patchkit::ReadInputFile(newFilePath, kMaxFile);
    if (newFile.error != base::FileError::kNone)
        return patchkit::Failure(kName, newFilePath + ": " + std::string(base::Describe(newFile.error)));
    if (newFile.tooLarge || newFile.bytes.empty())
        return patchkit::Failure(kName,
                                 newFilePath + ": a file of 1 to " + std::to_string(kMaxFile) + " bytes is needed");
    const auto size = static_cast<std::int64_t>(newFile.bytes.size());
    const std::uint32_t crc = patch::Crc32(newFile.bytes);
    for (const auto& k : row->known) {
        if (k.size == size && k.crc == crc) {
            return patchkit::Failure(kName, newFilePath + " is already version " + std::to_string(k.version) +
                                                " of file " + std::to_string(*index));
        }
    }
    const int current = row->known.back().version;
    if (current >= patch::kKnownVersionCount)
        return patchkit::Failure(kName,
                                 "file " + std::to_string(*index) + " already has version 11, the last there can be");

    // Its resources: the old names with the version's digits changed, unless named.
    const bool twoParts = row->Column(6) != "-";
    const std::vector<std::string> oldNames =
        twoParts ? std::vector{row->Column(5), row->Column(6)} : std::vector{row->Column(5)};
    std::vector<std::string> names = options.names;
    if (names.empty()) {
        const std::string from = Digits(row->Column(3)), to = Digits(versionText);
        for (const auto& old : oldNames) {
            const auto at = from.empty() ? std::string::npos : old.find(from);
            if (at == std::string::npos || old.find(from, at + 1) != std::string::npos || from == to) {
                return patchkit::ArgumentError(
                    kName, "cannot derive the new resource names from " + old + ": give them with --names");
            }
            names.push_back(old.substr(0, at) + to + old.substr(at + from.size()));
        }
    }
    if (names.size() != oldNames.size())
        return patchkit::ArgumentError(kName, "file " + std::to_string(*index) + " has " +
                                                  std::to_string(oldNames.size()) + " part(s): name as many");
    for (const auto& name : names) {
        if (!IsResourceName(name))
            return patchkit::ArgumentError(kName, "resource name \"" + name + "\": capital letters, digits and _ only");
        for (const auto& line : lines) {
            if (line.empty() || line[0] == '#') continue;
            const auto columns = Split(line, '|');
            if (columns.size() == 8 && (Trim(columns[5]) == name || Trim(columns[6]) == name))
                return patchkit::Failure(kName, "resource " + name + " is already named in " + cataloguePath);
        }
    }

    // The pieces: part A as long as the old part A (or --split), part B the rest.
    std::vector<std::span<const std::uint8_t>> pieces{newFile.bytes};
    if (twoParts) {
        std::size_t split = 0;
        if (options.split) {
            split = static_cast<std::size_t>(*options.split);
        } else {
            const auto oldA = DecodedFile(*root + "/" + oldPayloads->at(0), why);
            if (!oldA) return patchkit::Failure(kName, "the old part A: " + why + " (or give --split)");
            split = oldA->size();
        }
        if (split >= newFile.bytes.size())
            return patchkit::Failure(
                kName, newFilePath + ": shorter than part A (" + std::to_string(split) + " bytes); give --split");
        pieces = {std::span(newFile.bytes).first(split), std::span(newFile.bytes).subspan(split)};
    }
    std::vector<std::vector<std::uint8_t>> payloads;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (pieces[i].size() > tools::kMaxEncodablePiece) {
            return patchkit::Failure(kName, "part " + std::string(i ? "B" : "A") + " would be " +
                                                std::to_string(pieces[i].size()) +
                                                " bytes, more than one payload holds (2097152): give --split");
        }
        payloads.push_back(tools::EncodePayload(pieces[i]));
        patch::PayloadDecoder check;
        if (check.Decode(payloads.back()) != patch::DecodeError::kNone ||
            !std::ranges::equal(check.Output(), pieces[i]))
            return patchkit::Failure(kName,
                                     "part " + std::string(i ? "B" : "A") + " does not decode back to its bytes");
    }
    std::vector<std::string> payloadPaths, relativePaths;
    for (const auto& name : names) {
        relativePaths.push_back("resources/payloads/" + name + ".bin");
        payloadPaths.push_back(*root + "/" + relativePaths.back());
        if (base::FileExists(payloadPaths.back()))
            return patchkit::Failure(kName, payloadPaths.back() + " exists already");
    }

    // The new texts.
    char crcText[9];
    std::snprintf(crcText, sizeof crcText, "%08X", static_cast<unsigned>(crc));
    const std::string known = std::to_string(current + 1) + "=" + std::to_string(size) + "/" + crcText;
    auto& c = row->columns;
    c[3] = Padded(c[3], versionText, false);
    c[5] = Padded(c[5], names[0], false);
    if (twoParts) c[6] = Padded(c[6], names[1], false);
    c[7] = Padded(c[7], Trim(c[7]) + " " + known, true);
    std::string newLine = c[0];
    for (std::size_t i = 1; i < c.size(); ++i)
        newLine += "|" + c[i];
    std::vector<std::string> newLines = lines;
    newLines[row->line] = newLine;
    declaration.Set(payloadsName, relativePaths);
    const auto versionParts = Split(versionText, '.');
    const auto configured = declaration.Values("CONFIGURED_ENTRY");
    const bool shown = configured && configured->size() == 1 && configured->front() == std::to_string(*index);
    if (shown && versionParts.size() == 3 && declaration.Values("VERSION"))
        declaration.Set("VERSION",
                        {std::string(versionParts[0]), std::string(versionParts[1]), std::string(versionParts[2])});

    // The writes, undone in reverse if one fails.
    std::vector<std::string> written;
    auto undo = [&](const std::string& message) {
        for (const auto& path : written)
            base::RemoveFile(path);
        return patchkit::Failure(kName, message + "; nothing was changed");
    };
    for (std::size_t i = 0; i < payloads.size(); ++i) {
        if (auto e = patchkit::WriteOutputFile(payloadPaths[i], payloads[i]); e != base::FileError::kNone)
            return undo(payloadPaths[i] + ": " + std::string(base::Describe(e)));
        written.push_back(payloadPaths[i]);
    }
    const std::string newCatalogue = Joined(newLines);
    if (auto e = patchkit::WriteOutputFile(cataloguePath, Bytes(newCatalogue)); e != base::FileError::kNone)
        return undo(cataloguePath + ": " + std::string(base::Describe(e)));
    if (auto e = patchkit::WriteOutputFile(declarationPath, Bytes(declaration.Text())); e != base::FileError::kNone) {
        patchkit::WriteOutputFile(cataloguePath, catalogueFile.bytes);
        return undo(declarationPath + ": " + std::string(base::Describe(e)));
    }

    std::printf("file %d: version %d is %s, %s bytes, CRC-32 %08x; version %d stays known\n", *index, current + 1,
                versionText.c_str(), std::to_string(size).c_str(), static_cast<unsigned>(crc), current);
    for (std::size_t i = 0; i < payloads.size(); ++i)
        std::printf("%s: part %c, %zu bytes -> %zu bytes\n", relativePaths[i].c_str(), i ? 'B' : 'A', pieces[i].size(),
                    payloads[i].size());
    std::printf("%s: row %d updated\n%s: %s%s\n", cataloguePath.c_str(), *index, declarationPath.c_str(),
                payloadsName.c_str(), shown && versionParts.size() == 3 ? " and VERSION updated" : " updated");
    for (const auto& old : *oldPayloads)
        std::printf("no longer named by the declaration: %s\n", old.c_str());
    return patchkit::kExitOk;
}

const patchkit::CommandRegistration kRegistration{
    kName, "DECLARATION INDEX NEWFILE VERSION [--split BYTES] [--names A[,B]]",
    "adds NEWFILE as the next version of file INDEX (24 to 34): packs its payloads, updates the catalogue row "
    "and the declaration",
    &Run};

}  // namespace
