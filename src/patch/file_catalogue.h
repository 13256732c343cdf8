#pragma once
// The catalogue of target files: for each file index 1..34, what the user is told about it, how
// every known version of it is recognised and which payloads carry its new content. Constant data;
// one table set serves the whole product family, a build picks its rows with an active set.
//
// Every lookup takes any integer: an index outside 1..34 or a version outside 1..11 gets the
// answer of a row or version that does not exist (empty text, size 0, no probes).

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "base/byte_set.h"

namespace updater::patch {

inline constexpr int kFirstFileIndex = 1;
inline constexpr int kLastFileIndex = 34;
inline constexpr int kKnownVersionCount = 11;
inline constexpr int kProbesPerTable = 50;
// Files up to this index are recognised by byte probes, the later ones by their CRC-32.
inline constexpr int kLastProbedFileIndex = 23;

// One byte the file must hold at an offset.
struct Probe {
    std::int32_t offset;
    std::uint8_t value;
};

// One catalogue row gathered in one value: what the state check and the replacement work from.
// Tests build rows of their own to exercise both on files they can make.
struct FileRow {
    int index = 0;  // 0: no such row
    std::array<std::string_view, 2> titles;
    std::string_view versionText;
    std::string_view fileName;
    std::array<std::string_view, 2> resourceNames;  // part A, part B; empty: no such part
    int currentVersion = 0;
    std::array<std::int32_t, kKnownVersionCount> sizes{};  // 0: no such version
    std::array<std::uint32_t, kKnownVersionCount> crcs{};
    std::array<std::span<const Probe>, kKnownVersionCount> probes{};  // empty: no table
    // Rows told apart by probes: the CRC-32 of their current version (the others hold it in crcs).
    std::uint32_t probedCurrentCrc = 0;

    bool UsesProbes() const { return index <= kLastProbedFileIndex; }
    // Version numbers are 1-based; anything outside 1..11 has size 0 and no CRC or probes.
    std::int32_t Size(int version) const { return IsVersion(version) ? sizes[version - 1] : 0; }
    std::uint32_t Crc(int version) const { return IsVersion(version) ? crcs[version - 1] : 0; }
    std::span<const Probe> Probes(int version) const {
        return IsVersion(version) ? probes[version - 1] : std::span<const Probe>();
    }
    // The CRC-32 of the whole current version, for every row: what a new file's content must have
    // before it is written, whichever way the installed versions are told apart.
    std::uint32_t CurrentCrc() const { return UsesProbes() ? probedCurrentCrc : Crc(currentVersion); }
    static constexpr bool IsVersion(int version) { return version >= 1 && version <= kKnownVersionCount; }
};

constexpr bool IsFileIndex(long long index) {
    return index >= kFirstFileIndex && index <= kLastFileIndex;
}

// The whole row of a file index; a row with index 0 and nothing known for any other number.
FileRow CatalogueRow(int index);

// which: 1 for the Polish interface, 2 for every other one (TitleVariant); other values give "".
std::string_view Title(int index, int which);
std::string_view VersionText(int index);
std::string_view FileName(int index);
// 1..11 for a catalogue row, 0 otherwise.
int CurrentVersion(int index);
// Whether a file index takes part in a build whose active set is given. Only 1..34 can.
bool IsActive(const base::ByteSet& activeSet, int index);

}  // namespace updater::patch
