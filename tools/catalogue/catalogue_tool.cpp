// catalogue_tool: the build's own tool, built for the machine that builds (a cross build too) from
// the one catalogue reader (catalogue_text.h), the payload decoder and the probe tables.
//
//   catalogue_tool rows CATALOGUE OUT_CPP
//       writes the catalogue's tables (src/patch/file_catalogue_data.h) from its text.
//   catalogue_tool payloads CATALOGUE WHERE [--rc OUT.rc | --asm OUT.S OUT.cpp]
//                  [--file INDEX PAYLOAD...]... [--extra NAME FILE]...
//       checks a declaration's payloads: those of each active file (part A, then part B where the
//       row has one) must decode to the row's current version, its size and CRC-32 and, for files
//       1 to 23, its probes. Then writes the program's resources (a resource script for Windows,
//       an assembly file and its table natively), or without --rc and --asm prints their names.
//       A refusal is one message on standard error that starts with WHERE, and exit code 1.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue_text.h"
#include "localisation/code_pages.h"
#include "patch/crc32.h"
#include "patch/file_catalogue.h"
#include "patch/file_catalogue_data.h"
#include "patch/payload_decoder.h"

namespace {

using namespace updater;
using tools::CatalogueColumn;

int Refuse(const std::string& where, const std::string& why) {
    std::fprintf(stderr, "%s:\n  %s\n", where.c_str(), why.c_str());
    return 1;
}

bool ReadWhole(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool WriteWhole(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

// The next code point of UTF-8 text, or -1 where the text is not UTF-8.
long NextCodePoint(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80) return lead;
    const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (more < 0 || at + static_cast<std::size_t>(more) > text.size()) return -1;
    long point = lead & (0x3F >> more);
    for (int i = 0; i < more; ++i) {
        const auto next = static_cast<unsigned char>(text[at++]);
        if ((next & 0xC0) != 0x80) return -1;
        point = (point << 6) | (next & 0x3F);
    }
    return point;
}

// A C++ string literal of a catalogue text, in Windows-1250. Each byte above ASCII ends its
// literal, so a hex escape never runs on into the letters after it.
std::optional<std::string> Literal(std::string_view text, std::string& why) {
    std::string literal = "\"";
    for (std::size_t at = 0; at < text.size();) {
        const long point = NextCodePoint(text, at);
        if (point == '"' || point == '\\') {
            why = "\"" + std::string(text) + "\" holds a quote or a backslash";
            return std::nullopt;
        }
        if (point >= ' ' && point <= '~') {
            literal += static_cast<char>(point);
            continue;
        }
        const auto& upper = localisation::kWindows1250Upper;
        const auto found = std::find(upper.begin(), upper.end(), static_cast<char16_t>(point));
        if (point < 0xA0 || point > 0xFFFF || found == upper.end()) {
            why = "\"" + std::string(text) + "\" holds a letter that Windows-1250 does not have";
            return std::nullopt;
        }
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\x%02X\" \"", static_cast<unsigned>(0x80 + (found - upper.begin())));
        literal += escape;
    }
    if (literal.ends_with(" \"")) return literal.substr(0, literal.size() - 2);
    return literal + "\"";
}

// The tables of file_catalogue_data.h, as C++.
std::optional<std::string> RowTables(const tools::Catalogue& catalogue, std::string& why) {
    std::string texts, currents, sizes, crcs, currentCrcs;
    for (const tools::CatalogueRow& row : catalogue.rows) {
        const std::string comment = ",  // " + std::to_string(row.index) + "\n";
        std::string text = "    {";
        for (const auto column : {CatalogueColumn::kPolishTitle, CatalogueColumn::kOtherTitle,
                                  CatalogueColumn::kVersionText, CatalogueColumn::kFileName}) {
            const auto literal = Literal(row.Column(column), why);
            if (!literal) {
                why = "line " + std::to_string(row.line + 1) + ": " + why;
                return std::nullopt;
            }
            text += *literal + ", ";
        }
        const auto names = row.ResourceNames();
        texts += text + "{\"" + names[0] + "\", \"" + (names.size() > 1 ? names[1] : "") + "\"}}" + comment;
        std::vector<std::int64_t> rowSizes(patch::kKnownVersionCount, 0);
        std::vector<std::uint32_t> rowCrcs(patch::kKnownVersionCount, 0);
        for (const tools::KnownVersion& known : row.known) {
            rowSizes[static_cast<std::size_t>(known.version - 1)] = known.size;
            // Rows told apart by probes keep the CRC-32 of their current version apart.
            if (row.index > patch::kLastProbedFileIndex)
                rowCrcs[static_cast<std::size_t>(known.version - 1)] = *known.crc;
        }
        std::string sizeList, crcList;
        for (std::size_t v = 0; v < rowSizes.size(); ++v) {
            sizeList += (v ? ", " : "") + std::to_string(rowSizes[v]);
            crcList += (v ? ", 0x" : "0x") + tools::CrcText(rowCrcs[v]);
        }
        currents += "    " + std::to_string(row.Current().version) + comment;
        sizes += "    {" + sizeList + "}" + comment;
        crcs += "    {" + crcList + "}" + comment;
        currentCrcs += "    0x" + tools::CrcText(*row.Current().crc) + comment;
    }
    return "// Written by catalogue_tool from resources/catalogue.txt: edit that file, not this one.\n"
           "#include \"patch/file_catalogue_data.h\"\n\n"
           "namespace updater::patch::catalogue_data {\n\n"
           "// clang-format off\n"
           "const std::array<RowText, kRowCount> kTexts{{\n" +
           texts + "}};\n\nconst std::array<std::int32_t, kRowCount> kCurrentVersions{{\n" + currents +
           "}};\n\nconst std::array<std::array<std::int32_t, kKnownVersionCount>, kRowCount> kSizes{{\n" + sizes +
           "}};\n\nconst std::array<std::array<std::uint32_t, kKnownVersionCount>, kRowCount> kCrcs{{\n" + crcs +
           "}};\n\nconst std::array<std::uint32_t, kRowCount> kCurrentCrcs{{\n" + currentCrcs +
           "}};\n// clang-format on\n\n}  // namespace updater::patch::catalogue_data\n";
}

// Whether an active file's payloads make the current version of its row; the message if not.
std::optional<std::string> PayloadFault(const tools::CatalogueRow& row, const std::vector<std::string>& payloads) {
    // Named as patchkit inspect names it.
    const std::string file = "file " + std::to_string(row.index) + " " + row.Column(CatalogueColumn::kFileName);
    const std::size_t parts = row.ResourceNames().size();
    if (payloads.empty()) return file + " is active but the declaration gives no payloads for it";
    if (payloads.size() != parts) {
        return file + " has " + std::to_string(parts) + " payload(s) in the catalogue, the declaration gives " +
               std::to_string(payloads.size());
    }
    std::vector<std::uint8_t> content;
    patch::PayloadDecoder decoder;
    for (const std::string& path : payloads) {
        std::string payload;
        if (!ReadWhole(path, payload)) return file + ": cannot read the payload " + path;
        const std::span bytes(reinterpret_cast<const std::uint8_t*>(payload.data()), payload.size());
        if (decoder.Decode(bytes) != patch::DecodeError::kNone)
            return file + ": the payload " + path + " does not decode: " + decoder.FailureReason();
        content.insert(content.end(), decoder.Output().begin(), decoder.Output().end());
    }
    const tools::KnownVersion& current = row.Current();
    const std::uint32_t crc = patch::Crc32(content);
    const std::string made = file + ": the payloads make " + std::to_string(content.size()) + " bytes with CRC-32 " +
                             tools::CrcText(crc) + ", but version " + std::to_string(current.version) + " has " +
                             std::to_string(current.size) + " bytes";
    if (static_cast<std::int64_t>(content.size()) != current.size || crc != *current.crc)
        return made + " with CRC-32 " + tools::CrcText(*current.crc);
    for (const patch::Probe& probe : patch::catalogue_data::ProbeTable(row.index, current.version)) {
        if (content[static_cast<std::size_t>(probe.offset)] != probe.value)
            return made + " and another byte at offset " + std::to_string(probe.offset);
    }
    return std::nullopt;
}

struct Resource {
    std::string name, path;
};

// Windows: RCDATA resources of the program's own module.
std::string ResourceScript(const std::vector<Resource>& resources) {
    std::string rc = "// Written by catalogue_tool: the payload resources.\n";
    for (const Resource& r : resources)
        rc += r.name + " RCDATA \"" + r.path + "\"\n";
    return rc;
}

// Natively: the bytes assembled into the program, and the table the embedded resource source reads.
std::pair<std::string, std::string> AssembledResources(const std::vector<Resource>& resources) {
    std::string assembly = "/* Written by catalogue_tool: the payload resources. */\n    .section .rodata\n";
    std::string table =
        "// Written by catalogue_tool: the payload resources.\n"
        "#include \"patch/embedded_resource_table.h\"\n";
    std::string rows;
    for (const Resource& r : resources) {
        const std::string symbol = "updater_payload_" + r.name;
        assembly += "    .balign 16\n    .globl " + symbol + "_begin\n" + symbol + "_begin:\n";
        assembly += "    .incbin \"" + r.path + "\"\n    .globl " + symbol + "_end\n" + symbol + "_end:\n";
        table += "extern \"C\" const unsigned char " + symbol + "_begin[];\n";
        table += "extern \"C\" const unsigned char " + symbol + "_end[];\n";
        rows += "    {\"" + r.name + "\", " + symbol + "_begin, " + symbol + "_end},\n";
    }
    assembly += "    .section .note.GNU-stack,\"\",@progbits\n";
    if (rows.empty()) rows = "    {nullptr, nullptr, nullptr},\n";
    table += "namespace updater::patch {\nconst EmbeddedResourceEntry kEmbeddedResourceTable[] = {\n" + rows + "};\n";
    table +=
        "const std::size_t kEmbeddedResourceCount = "
        "sizeof(kEmbeddedResourceTable) / sizeof(kEmbeddedResourceTable[0]);\n}\n";
    return {assembly, table};
}

int Payloads(const tools::Catalogue& catalogue, const std::string& where, const std::vector<std::string>& args) {
    std::vector<std::string> outputs;
    std::vector<Resource> resources;
    for (std::size_t i = 0; i < args.size();) {
        const std::string& option = args[i++];
        std::vector<std::string> values;
        while (i < args.size() && !args[i].starts_with("--"))
            values.push_back(args[i++]);
        if (option == "--rc" || option == "--asm") {
            if (values.size() != (option == "--rc" ? 1u : 2u))
                return Refuse("catalogue_tool", "--rc takes one file, --asm two");
            outputs = values;
        } else if (option == "--file" && !values.empty()) {
            char* end = nullptr;
            const long index = std::strtol(values[0].c_str(), &end, 10);
            if (*end != '\0' || !patch::IsFileIndex(index))
                return Refuse(where, "'" + values[0] + "' is no file index (1 to 34)");
            const tools::CatalogueRow& row = catalogue.Row(static_cast<int>(index));
            values.erase(values.begin());
            if (const auto fault = PayloadFault(row, values)) return Refuse(where, *fault);
            const auto names = row.ResourceNames();
            for (std::size_t part = 0; part < names.size(); ++part)
                resources.push_back({names[part], values[part]});
        } else if (option == "--extra" && values.size() == 2) {
            resources.push_back({values[0], values[1]});
        } else {
            return Refuse("catalogue_tool", "unknown or incomplete option " + option);
        }
    }
    if (outputs.size() == 1)
        return WriteWhole(outputs[0], ResourceScript(resources)) ? 0 : Refuse(outputs[0], "cannot write");
    if (outputs.size() == 2) {
        const auto [assembly, table] = AssembledResources(resources);
        if (!WriteWhole(outputs[0], assembly)) return Refuse(outputs[0], "cannot write");
        return WriteWhole(outputs[1], table) ? 0 : Refuse(outputs[1], "cannot write");
    }
    for (std::size_t i = 0; i < resources.size(); ++i)
        std::printf("%s%s", i ? " " : "", resources[i].name.c_str());
    std::printf("\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const bool rows = args.size() == 3 && args[0] == "rows";
    if (!rows && (args.size() < 3 || args[0] != "payloads")) {
        std::fprintf(stderr,
                     "usage: catalogue_tool rows CATALOGUE OUT_CPP\n"
                     "       catalogue_tool payloads CATALOGUE WHERE [--rc OUT.rc | --asm OUT.S OUT.cpp]\n"
                     "                      [--file INDEX PAYLOAD...]... [--extra NAME FILE]...\n");
        return 2;
    }
    const std::string& path = args[1];
    std::string text;
    if (!ReadWhole(path, text)) return Refuse(path, "cannot read");
    const tools::CatalogueReading reading = tools::ReadCatalogue(text);
    if (!reading.catalogue) return Refuse(path, reading.error);
    if (!rows) return Payloads(*reading.catalogue, args[2], {args.begin() + 3, args.end()});
    std::string why;
    const auto tables = RowTables(*reading.catalogue, why);
    if (!tables) return Refuse(path, why);
    return WriteWhole(args[2], *tables) ? 0 : Refuse(args[2], "cannot write");
}
