#pragma once
// The catalogue's constant tables, one column per table and one row per line, shared by the
// lookups (file_catalogue.cpp) and the data: the rows, written from resources/catalogue.txt by the
// build's catalogue_tool (tools/catalogue), and the probe tables (file_catalogue_probes.cpp).

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "patch/file_catalogue.h"

namespace updater::patch::catalogue_data {

inline constexpr std::size_t kRowCount = kLastFileIndex;
inline constexpr std::size_t kProbeTableCount = 65;

struct RowText {
    std::string_view polishTitle;
    std::string_view otherTitle;
    std::string_view versionText;
    std::string_view fileName;
    std::array<std::string_view, 2> resourceNames;
};

struct ProbeTableRow {
    std::uint8_t index;
    std::uint8_t version;
    std::array<Probe, kProbesPerTable> probes;
};

// Row i of the catalogue is element i - 1 of each table.
extern const std::array<RowText, kRowCount> kTexts;
extern const std::array<std::int32_t, kRowCount> kCurrentVersions;
extern const std::array<std::array<std::int32_t, kKnownVersionCount>, kRowCount> kSizes;
extern const std::array<std::array<std::uint32_t, kKnownVersionCount>, kRowCount> kCrcs;
// The CRC-32 of each row's current version (for rows 24 to 34 also in kCrcs).
extern const std::array<std::uint32_t, kRowCount> kCurrentCrcs;
extern const std::array<ProbeTableRow, kProbeTableCount> kProbeTables;
// The probes of one version of one row; empty where it has no table.
std::span<const Probe> ProbeTable(int index, int version);

}  // namespace updater::patch::catalogue_data
