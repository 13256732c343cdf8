#pragma once
// What patchkit inspect reads from a Windows program file: its architecture, its raw-data
// resources (the payloads), its manifest and its version information. The Windows build asks the
// system's resource and version functions; the native build reads the file with pe_reader.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace patchkit {

struct NamedResource {
    std::string name;  // as stored (windres stores names in capitals); "#N" for a numbered one
    std::vector<std::uint8_t> bytes;
};

// The version resource's fixed part and the strings of its first string table.
struct VersionInfo {
    std::array<std::uint16_t, 4> fileVersion{};
    std::array<std::uint16_t, 4> productVersion{};
    std::vector<std::pair<std::string, std::string>> strings;  // the kVersionStringKeys present, UTF-8
};

// The strings inspect shows, in this order, when the table has them.
inline constexpr std::array<std::string_view, 8> kVersionStringKeys = {
    "CompanyName",    "FileDescription",  "FileVersion", "InternalName",
    "LegalCopyright", "OriginalFilename", "ProductName", "ProductVersion"};

struct ExecutableResources {
    std::string architecture;  // "x86", "x64", "arm64" or the machine number
    std::vector<NamedResource> rawData;
    std::string manifest;                // the manifest resource's bytes; empty when there is none
    std::optional<VersionInfo> version;  // nullopt when there is no version resource
};

struct ExecutableRead {
    std::optional<ExecutableResources> resources;
    std::string error;  // why there are none
};

// Reads the resources of the program file at path (a system-code-page path on Windows).
ExecutableRead ReadExecutableResources(const std::string& path);

}  // namespace patchkit
