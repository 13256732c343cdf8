#include "catalogue/catalogue_text.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "patch/file_catalogue.h"

namespace updater::tools {
namespace {

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

template <typename Number>
bool Whole(std::string_view text, Number& value, int base = 10) {
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value, base);
    return !text.empty() && error == std::errc() && at == end;
}

// VERSION=SIZE or VERSION=SIZE/CRC32, the CRC-32 as 8 capital hex digits.
std::optional<KnownVersion> ParseKnown(std::string_view entry) {
    const auto equals = entry.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    const auto slash = entry.find('/', equals);
    KnownVersion known;
    if (!Whole(entry.substr(0, equals), known.version) ||
        !Whole(entry.substr(equals + 1, slash == std::string_view::npos ? slash : slash - equals - 1), known.size))
        return std::nullopt;
    if (slash != std::string_view::npos) {
        const std::string_view hex = entry.substr(slash + 1);
        std::uint32_t crc = 0;
        if (hex.size() != 8 || hex.find_first_not_of("0123456789ABCDEF") != std::string_view::npos ||
            !Whole(hex, crc, 16))
            return std::nullopt;
        known.crc = crc;
    }
    return known;
}

// Reads the row on one line into row; why not, or empty.
std::string ParseRow(std::string_view line, int expected, CatalogueRow& row) {
    const auto fields = Split(line, '|');
    if (fields.size() != kCatalogueColumnCount)
        return "a row has 8 columns separated by |, this one " + std::to_string(fields.size());
    std::copy(fields.begin(), fields.end(), row.columns.begin());
    using enum CatalogueColumn;
    if (row.Column(kIndex) != std::to_string(expected))
        return "row " + std::to_string(expected) + " expected here, not \"" + row.Column(kIndex) + "\"";
    row.index = expected;
    const std::string partA = row.Column(kPartA), partB = row.Column(kPartB);
    if (row.Column(kFileName).empty() || partA.empty() || partA == "-" || partB.empty())
        return "a row names its file and part A (and part B, or -)";
    for (const std::string& name : row.ResourceNames()) {
        if (!IsResourceName(name)) return "resource name \"" + name + "\": capital letters, digits and _ only";
    }
    const bool probed = expected <= patch::kLastProbedFileIndex;
    const auto entries = Split(row.Column(kKnown), ' ');
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string& entry = entries[i];
        if (entry.empty()) continue;
        const std::string quoted = '"' + entry + '"';
        const auto known = ParseKnown(entry);
        // Rows told apart by probes give the CRC-32 of their current version only (the last
        // entry): the CRC-32 checks a new file's whole content.
        if (!known || (!probed && !known->crc))
            return quoted + (probed ? " is not VERSION=SIZE or VERSION=SIZE/CRC32" : " is not VERSION=SIZE/CRC32");
        if (probed && known->crc && i + 1 != entries.size())
            return quoted + ": rows 1 to 23 give the CRC-32 of their current version only";
        const int previous = row.known.empty() ? 0 : row.known.back().version;
        if (known->version <= previous || known->version > patch::kKnownVersionCount || known->size < 1 ||
            known->size > 2147483647)
            return quoted + ": versions rise from 1 to 11, sizes are 1 to 2147483647";
        row.known.push_back(*known);
    }
    if (row.known.empty()) return "row " + std::to_string(expected) + " lists no known version";
    if (!row.Current().crc)
        return "row " + std::to_string(expected) + " gives no CRC-32 of its current version (VERSION=SIZE/CRC32)";
    return {};
}

}  // namespace

bool IsResourceName(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    });
}

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
        const auto end = text.find(separator, start);
        parts.emplace_back(text.substr(start, end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

std::string CrcText(std::uint32_t crc) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(crc));
    return text;
}

std::string CatalogueRow::Column(CatalogueColumn column) const {
    return std::string(Trim(columns[static_cast<std::size_t>(column)]));
}

std::vector<std::string> CatalogueRow::ResourceNames() const {
    std::vector<std::string> names{Column(CatalogueColumn::kPartA)};
    if (const std::string partB = Column(CatalogueColumn::kPartB); partB != "-") names.push_back(partB);
    return names;
}

std::string Catalogue::Text() const {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

CatalogueReading ReadCatalogue(std::string_view text) {
    if (text.ends_with('\n')) text.remove_suffix(1);
    Catalogue catalogue;
    catalogue.lines = Split(text, '\n');
    for (std::size_t i = 0; i < catalogue.lines.size(); ++i) {
        const std::string& line = catalogue.lines[i];
        if (line.starts_with('#') || Trim(line).empty()) continue;
        CatalogueRow row;
        const std::string why = ParseRow(line, static_cast<int>(catalogue.rows.size()) + 1, row);
        if (!why.empty()) return {std::nullopt, "line " + std::to_string(i + 1) + ": " + why};
        row.line = i;
        catalogue.rows.push_back(std::move(row));
    }
    if (catalogue.rows.size() != static_cast<std::size_t>(patch::kLastFileIndex)) {
        return {std::nullopt, "line " + std::to_string(catalogue.lines.size()) + ": the catalogue ends at row " +
                                  std::to_string(catalogue.rows.size()) + "; it has rows 1 to 34"};
    }
    return {std::move(catalogue), {}};
}

}  // namespace updater::tools
