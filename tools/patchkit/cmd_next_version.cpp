// patchkit next-version DECLARATION INDEX NEWFILE VERSION [--split BYTES] [--names A[,B]]: a
// publisher's next version of one file in one step. Packs NEWFILE into the row's payloads
// (resources/payloads/NAME.bin), adds it to the row in resources/catalogue.txt as the new current
// version (the old current one stays known, so installations of it are updated too), and points
// the declaration's PAYLOADS_INDEX (and VERSION, when the row is the one the window shows) at it.
// Everything is checked before anything is written; what is then written is rolled back if a
// later write fails. Each step below returns kExitOk to go on, or the exit code of the refusal it
// has reported.
#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "base/path.h"
#include "catalogue/catalogue_text.h"
#include "patch/crc32.h"
#include "patch/file_catalogue.h"
#include "patch/payload_decoder.h"
#include "patchkit/arguments.h"
#include "patchkit/command.h"
#include "patchkit/declaration_text.h"
#include "patchkit/output_file.h"
#include "payload_encoder/payload_encoder.h"

namespace patchkit {
namespace {

using namespace updater;
using tools::CatalogueColumn;

constexpr std::string_view kName = "next-version";
constexpr std::int64_t kMaxFile = 2 * static_cast<std::int64_t>(tools::kMaxEncodablePiece);
constexpr std::int64_t kMaxText = 1024 * 1024;

std::string Digits(std::string_view text) {
    std::string digits;
    std::copy_if(text.begin(), text.end(), std::back_inserter(digits), [](char c) { return c >= '0' && c <= '9'; });
    return digits;
}

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The command line, checked.
struct Request {
    std::string declarationPath, newFilePath, versionText;
    int index = 0;
    std::optional<long long> split;
    std::vector<std::string> names;
};

int ReadRequest(Arguments args, Request& request) {
    if (args.size() < 4) return UsageError(kName);
    request.declarationPath = args[0];
    request.newFilePath = args[2];
    request.versionText = args[3];
    const auto index = ParseInteger(args[1], patch::kFirstFileIndex, patch::kLastFileIndex);
    if (!index) return RangeError(kName, "INDEX", patch::kFirstFileIndex, patch::kLastFileIndex);
    request.index = *index;
    if (request.index <= patch::kLastProbedFileIndex) {
        return ArgumentError(kName,
                             "files 1 to 23 are told apart by probe tables, which this command does "
                             "not make: add such a version by hand");
    }
    if (request.versionText.empty() || request.versionText.find_first_not_of("0123456789.") != std::string::npos)
        return ArgumentError(kName, "VERSION is digits and dots, for example 2.5.2");
    const int maxPiece = static_cast<int>(tools::kMaxEncodablePiece);
    for (std::size_t i = 4; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) return ArgumentError(kName, args[i] + " needs a value");
        if (args[i] == "--split") {
            request.split = ParseInteger(args[i + 1], 1, maxPiece);
            if (!request.split) return RangeError(kName, "--split", 1, maxPiece);
        } else if (args[i] == "--names") {
            request.names = tools::Split(args[i + 1], ',');
        } else {
            return ArgumentError(kName, "unknown option " + args[i]);
        }
    }
    return kExitOk;
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

// What is there now: the source tree, its catalogue, the declaration and the new file.
struct Tree {
    std::string root, cataloguePath;
    std::vector<std::uint8_t> catalogueBytes;  // to put back if the declaration cannot be written
    tools::Catalogue catalogue;
    std::optional<DeclarationText> declaration;
    std::vector<std::string> oldPayloads;
    std::vector<std::uint8_t> newFile;
};

int ReadTree(const Request& request, Tree& tree) {
    const auto root = SourceTreeOf(request.declarationPath);
    if (!root) {
        return Failure(kName, request.declarationPath + ": no resources/catalogue.txt in a folder above it");
    }
    tree.root = *root;
    tree.cataloguePath = tree.root + "/resources/catalogue.txt";
    InputFile catalogueFile = ReadInputFile(tree.cataloguePath, kMaxText);
    if (const std::string problem = catalogueFile.Problem("larger than 1 MiB"); !problem.empty())
        return Failure(kName, tree.cataloguePath + ": " + problem);
    const InputFile declarationFile = ReadInputFile(request.declarationPath, kMaxText);
    if (const std::string problem = declarationFile.Problem("larger than 1 MiB"); !problem.empty())
        return Failure(kName, request.declarationPath + ": " + problem);
    tree.catalogueBytes = std::move(catalogueFile.bytes);
    tools::CatalogueReading reading =
        tools::ReadCatalogue({reinterpret_cast<const char*>(tree.catalogueBytes.data()), tree.catalogueBytes.size()});
    if (!reading.catalogue) return Failure(kName, tree.cataloguePath + ", " + reading.error);
    tree.catalogue = std::move(*reading.catalogue);

    const std::string index = std::to_string(request.index);
    tree.declaration.emplace(std::string(declarationFile.bytes.begin(), declarationFile.bytes.end()));
    if (const auto active = tree.declaration->Values("ACTIVE_SET");
        active && std::find(active->begin(), active->end(), index) == active->end()) {
        return Failure(kName, request.declarationPath + ": file " + index + " is not in its ACTIVE_SET");
    }
    const auto oldPayloads = tree.declaration->Values("PAYLOADS_" + index);
    if (!oldPayloads) {
        return Failure(kName, request.declarationPath + " does not set PAYLOADS_" + index +
                                  " itself; give the declaration that does (the one it includes)");
    }
    tree.oldPayloads = *oldPayloads;

    InputFile newFile = ReadInputFile(request.newFilePath, kMaxFile);
    if (newFile.error != base::FileError::kNone)
        return Failure(kName, request.newFilePath + ": " + std::string(base::Describe(newFile.error)));
    if (newFile.tooLarge || newFile.bytes.empty()) {
        return Failure(kName,
                       request.newFilePath + ": a file of 1 to " + std::to_string(kMaxFile) + " bytes is needed");
    }
    tree.newFile = std::move(newFile.bytes);
    return kExitOk;
}

// The new version is none already known, and the row has room for it.
int CheckNewVersion(const Request& request, const Tree& tree) {
    const tools::CatalogueRow& row = tree.catalogue.Row(request.index);
    const auto size = static_cast<std::int64_t>(tree.newFile.size());
    const std::uint32_t crc = patch::Crc32(tree.newFile);
    for (const tools::KnownVersion& known : row.known) {
        if (known.size == size && known.crc == crc) {
            return Failure(kName, request.newFilePath + " is already version " + std::to_string(known.version) +
                                      " of file " + std::to_string(request.index));
        }
    }
    if (row.Current().version >= patch::kKnownVersionCount) {
        return Failure(kName,
                       "file " + std::to_string(request.index) + " already has version 11, the last there can be");
    }
    return kExitOk;
}

// The new version's resources: the old names with the version's digits changed, unless named.
int NewResourceNames(const Request& request, const Tree& tree, std::vector<std::string>& names) {
    const tools::CatalogueRow& row = tree.catalogue.Row(request.index);
    const std::vector<std::string> oldNames = row.ResourceNames();
    names = request.names;
    if (names.empty()) {
        const std::string from = Digits(row.Column(CatalogueColumn::kVersionText)), to = Digits(request.versionText);
        for (const std::string& old : oldNames) {
            const auto at = from.empty() ? std::string::npos : old.find(from);
            if (at == std::string::npos || old.find(from, at + 1) != std::string::npos || from == to) {
                return ArgumentError(kName,
                                     "cannot derive the new resource names from " + old + ": give them with --names");
            }
            names.push_back(old.substr(0, at) + to + old.substr(at + from.size()));
        }
    }
    if (names.size() != oldNames.size()) {
        return ArgumentError(kName, "file " + std::to_string(request.index) + " has " +
                                        std::to_string(oldNames.size()) + " part(s): name as many");
    }
    for (const std::string& name : names) {
        if (!tools::IsResourceName(name))
            return ArgumentError(kName, "resource name \"" + name + "\": capital letters, digits and _ only");
        for (const tools::CatalogueRow& other : tree.catalogue.rows) {
            const auto otherNames = other.ResourceNames();
            if (std::find(otherNames.begin(), otherNames.end(), name) != otherNames.end())
                return Failure(kName, "resource " + name + " is already named in " + tree.cataloguePath);
        }
    }
    return kExitOk;
}

// The size of the piece a payload file decodes to.
std::optional<std::size_t> DecodedSize(const std::string& path, std::string& why) {
    const InputFile input = ReadInputFile(path, 4 * 1024 * 1024);
    if (const std::string problem = input.Problem("larger than any payload"); !problem.empty()) {
        why = path + ": " + problem;
        return std::nullopt;
    }
    patch::PayloadDecoder decoder;
    if (decoder.Decode(input.bytes) != patch::DecodeError::kNone) {
        why = path + ": " + decoder.FailureReason();
        return std::nullopt;
    }
    return decoder.Output().size();
}

// The new file in the row's parts (part A as long as the old part A, or --split; part B the rest),
// each packed and checked to decode back to its bytes.
struct Packed {
    std::vector<std::span<const std::uint8_t>> pieces;
    std::vector<std::vector<std::uint8_t>> payloads;
};

int Pack(const Request& request, const Tree& tree, std::size_t parts, Packed& packed) {
    const std::span<const std::uint8_t> whole = tree.newFile;
    packed.pieces = {whole};
    if (parts == 2) {
        std::size_t split = 0;
        if (request.split) {
            split = static_cast<std::size_t>(*request.split);
        } else {
            std::string why;
            const auto oldA = DecodedSize(tree.root + "/" + tree.oldPayloads.at(0), why);
            if (!oldA) return Failure(kName, "the old part A: " + why + " (or give --split)");
            split = *oldA;
        }
        if (split >= whole.size()) {
            return Failure(kName, request.newFilePath + ": shorter than part A (" + std::to_string(split) +
                                      " bytes); give --split");
        }
        packed.pieces = {whole.first(split), whole.subspan(split)};
    }
    for (std::size_t i = 0; i < packed.pieces.size(); ++i) {
        const std::string part = i ? "B" : "A";
        if (packed.pieces[i].size() > tools::kMaxEncodablePiece) {
            return Failure(kName, "part " + part + " would be " + std::to_string(packed.pieces[i].size()) +
                                      " bytes, more than one payload holds (2097152): give --split");
        }
        packed.payloads.push_back(tools::EncodePayload(packed.pieces[i]));
        patch::PayloadDecoder check;
        if (check.Decode(packed.payloads.back()) != patch::DecodeError::kNone ||
            !std::ranges::equal(check.Output(), packed.pieces[i]))
            return Failure(kName, "part " + part + " does not decode back to its bytes");
    }
    return kExitOk;
}

// COLUMN's new content, padded to the width it had when it still fits.
std::string Padded(const std::string& column, const std::string& content, bool last) {
    if (last) return " " + content;
    const std::size_t width = column.size() >= 2 ? column.size() - 2 : 0;
    return " " + content + std::string(width > content.size() ? width - content.size() : 0, ' ') + " ";
}

// The row's line with the new version: its version text and resources, and one more known version.
std::string NewRowLine(const tools::CatalogueRow& row, const std::string& versionText,
                       const std::vector<std::string>& names, const std::string& known) {
    auto c = row.columns;
    auto at = [&c](CatalogueColumn column) -> std::string& { return c[static_cast<std::size_t>(column)]; };
    at(CatalogueColumn::kVersionText) = Padded(at(CatalogueColumn::kVersionText), versionText, false);
    at(CatalogueColumn::kPartA) = Padded(at(CatalogueColumn::kPartA), names[0], false);
    if (names.size() == 2) at(CatalogueColumn::kPartB) = Padded(at(CatalogueColumn::kPartB), names[1], false);
    at(CatalogueColumn::kKnown) = Padded({}, row.Column(CatalogueColumn::kKnown) + " " + known, true);
    std::string line = c[0];
    for (std::size_t i = 1; i < c.size(); ++i)
        line += "|" + c[i];
    return line;
}

// What is written: the payloads under their new names, the catalogue with the new row and the
// declaration pointing at them.
struct Changes {
    std::vector<std::string> payloadPaths, relativePaths;
    std::string catalogueText;
    std::string payloadsName;
    bool versionSet = false;  // the declaration's VERSION too
};

int PlanChanges(const Request& request, Tree& tree, const std::vector<std::string>& names, Changes& changes) {
    for (const std::string& name : names) {
        changes.relativePaths.push_back("resources/payloads/" + name + ".bin");
        changes.payloadPaths.push_back(tree.root + "/" + changes.relativePaths.back());
        if (base::FileExists(changes.payloadPaths.back()))
            return Failure(kName, changes.payloadPaths.back() + " exists already");
    }
    const tools::CatalogueRow& row = tree.catalogue.Row(request.index);
    const std::string known = std::to_string(row.Current().version + 1) + "=" + std::to_string(tree.newFile.size()) +
                              "/" + tools::CrcText(patch::Crc32(tree.newFile));
    tools::Catalogue catalogue = tree.catalogue;
    catalogue.lines[row.line] = NewRowLine(row, request.versionText, names, known);
    changes.catalogueText = catalogue.Text();

    DeclarationText& declaration = *tree.declaration;
    changes.payloadsName = "PAYLOADS_" + std::to_string(request.index);
    declaration.Set(changes.payloadsName, changes.relativePaths);
    const auto versionParts = tools::Split(request.versionText, '.');
    const auto configured = declaration.Values("CONFIGURED_ENTRY");
    const bool shown = configured && configured->size() == 1 && configured->front() == std::to_string(request.index);
    changes.versionSet = shown && versionParts.size() == 3 && declaration.Values("VERSION");
    if (changes.versionSet) declaration.Set("VERSION", versionParts);
    return kExitOk;
}

// The writes, undone in reverse if one fails.
int WriteChanges(const Request& request, const Tree& tree, const Packed& packed, const Changes& changes) {
    std::vector<std::string> written;
    auto undo = [&](const std::string& message) {
        for (const auto& path : written)
            base::RemoveFile(path);
        return Failure(kName, message + "; nothing was changed");
    };
    for (std::size_t i = 0; i < packed.payloads.size(); ++i) {
        const std::string& path = changes.payloadPaths[i];
        if (auto e = WriteOutputFile(path, packed.payloads[i]); e != base::FileError::kNone)
            return undo(path + ": " + std::string(base::Describe(e)));
        written.push_back(path);
    }
    if (auto e = WriteOutputFile(tree.cataloguePath, Bytes(changes.catalogueText)); e != base::FileError::kNone)
        return undo(tree.cataloguePath + ": " + std::string(base::Describe(e)));
    if (auto e = WriteOutputFile(request.declarationPath, Bytes(tree.declaration->Text()));
        e != base::FileError::kNone) {
        WriteOutputFile(tree.cataloguePath, tree.catalogueBytes);
        return undo(request.declarationPath + ": " + std::string(base::Describe(e)));
    }
    return kExitOk;
}

void Report(const Request& request, const Tree& tree, const Packed& packed, const Changes& changes) {
    const int current = tree.catalogue.Row(request.index).Current().version;
    std::printf("file %d: version %d is %s, %zu bytes, CRC-32 %08x; version %d stays known\n", request.index,
                current + 1, request.versionText.c_str(), tree.newFile.size(),
                static_cast<unsigned>(patch::Crc32(tree.newFile)), current);
    for (std::size_t i = 0; i < packed.payloads.size(); ++i)
        std::printf("%s: part %c, %zu bytes -> %zu bytes\n", changes.relativePaths[i].c_str(), i ? 'B' : 'A',
                    packed.pieces[i].size(), packed.payloads[i].size());
    std::printf("%s: row %d updated\n%s: %s%s\n", tree.cataloguePath.c_str(), request.index,
                request.declarationPath.c_str(), changes.payloadsName.c_str(),
                changes.versionSet ? " and VERSION updated" : " updated");
    for (const auto& old : tree.oldPayloads)
        std::printf("no longer named by the declaration: %s\n", old.c_str());
}

int Run(Arguments args) {
    Request request;
    Tree tree;
    std::vector<std::string> names;
    Packed packed;
    Changes changes;
    int status = ReadRequest(args, request);
    if (status == kExitOk) status = ReadTree(request, tree);
    if (status == kExitOk) status = CheckNewVersion(request, tree);
    if (status == kExitOk) status = NewResourceNames(request, tree, names);
    if (status == kExitOk) status = Pack(request, tree, names.size(), packed);
    if (status == kExitOk) status = PlanChanges(request, tree, names, changes);
    if (status == kExitOk) status = WriteChanges(request, tree, packed, changes);
    if (status == kExitOk) Report(request, tree, packed, changes);
    return status;
}

const CommandRegistration kRegistration{
    kName, "DECLARATION INDEX NEWFILE VERSION [--split BYTES] [--names A[,B]]",
    "adds NEWFILE as the next version of file INDEX (24 to 34): packs its payloads, updates the catalogue row "
    "and the declaration",
    &Run};

}  // namespace
}  // namespace patchkit
