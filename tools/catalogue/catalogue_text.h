#pragma once
// The catalogue's text (resources/catalogue.txt), read and checked whole: the one reader of that
// file. The build's host tool (catalogue_tool) writes the catalogue's tables from it and checks
// the declarations' payloads against it; `patchkit next-version` rewrites one row of it.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace updater::tools {

// The columns of a row, separated by |.
enum class CatalogueColumn : std::size_t {
    kIndex,
    kPolishTitle,
    kOtherTitle,
    kVersionText,
    kFileName,
    kPartA,
    kPartB,  // "-": the file has one part
    kKnown,  // VERSION=SIZE[/CRC32] ...
};
inline constexpr std::size_t kCatalogueColumnCount = 8;

struct KnownVersion {
    int version = 0;
    std::int64_t size = 0;
    std::optional<std::uint32_t> crc;
};

struct CatalogueRow {
    std::size_t line = 0;  // 0-based, into Catalogue::lines
    int index = 0;
    std::array<std::string, kCatalogueColumnCount> columns;  // as written, padding included
    std::vector<KnownVersion> known;                         // rising, never empty

    // A column without its padding.
    std::string Column(CatalogueColumn column) const;
    // Part A's resource, then part B's where the file has one.
    std::vector<std::string> ResourceNames() const;
    const KnownVersion& Current() const { return known.back(); }
};

struct Catalogue {
    std::vector<std::string> lines;  // the file's lines, without their line ends
    std::vector<CatalogueRow> rows;  // rows[i] is file index i + 1

    const CatalogueRow& Row(int index) const { return rows.at(static_cast<std::size_t>(index - 1)); }
    // The lines joined again, each ended by a line feed.
    std::string Text() const;
};

// A catalogue, or why not: "line N: what is wrong" (1-based).
struct CatalogueReading {
    std::optional<Catalogue> catalogue;
    std::string error;
};

CatalogueReading ReadCatalogue(std::string_view text);

// A resource name a row may give: capital letters, digits and _, at least one.
bool IsResourceName(std::string_view name);

// The parts of text between separators: "a,,b" is "a", "" and "b"; "" is one empty part.
std::vector<std::string> Split(std::string_view text, char separator);

// A CRC-32 as the catalogue writes it: 8 capital hex digits.
std::string CrcText(std::uint32_t crc);

}  // namespace updater::tools
