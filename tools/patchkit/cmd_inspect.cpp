// patchkit inspect EXE: the check a release passes before it leaves. It reads the program's own
// resources, decodes the payloads of every file this build updates and of every other file whose
// payloads the program carries, and compares the result with the catalogue's current version (its
// size and the CRC-32 of the whole), and shows the manifest's execution level, that it names the
// oldest Windows supported, and the version information. Any mismatch is named and makes the exit
// code 1.
#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/this_build.h"
#include "patch/crc32.h"
#include "patch/file_catalogue.h"
#include "patch/payload_decoder.h"
#include "patchkit/command.h"
#include "patchkit/executable_resources.h"

namespace patchkit {
namespace {

namespace patch = updater::patch;

constexpr std::string_view kName = "inspect";
// The manifest's supportedOS identifier of the oldest Windows supported (7).
constexpr const char* kOldestSupportedOs = "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}";
static_assert(std::string_view(UPDATER_OLDEST_WINDOWS) == "6.1", "name the supportedOS of the oldest Windows");

std::string Hex8(std::uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(value));
    return text;
}

std::string Dotted(const std::array<std::uint16_t, 4>& v) {
    return std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]) + "." + std::to_string(v[3]);
}

// The value of an attribute of the first element of that name (with or without a namespace
// prefix) in a manifest; nullopt when there is no such element or attribute.
std::optional<std::string> Attribute(std::string_view xml, std::string_view element, std::string_view attribute) {
    for (std::size_t at = xml.find(element); at != std::string_view::npos; at = xml.find(element, at + 1)) {
        if (at == 0 || (xml[at - 1] != '<' && xml[at - 1] != ':')) continue;
        const std::size_t close = xml.find('>', at);
        const std::string_view tag =
            xml.substr(at + element.size(), close == std::string_view::npos ? close : close - at);
        if (tag.empty() || (tag[0] != ' ' && tag[0] != '\t' && tag[0] != '\r' && tag[0] != '\n')) continue;
        for (std::size_t a = tag.find(attribute); a != std::string_view::npos; a = tag.find(attribute, a + 1)) {
            const char before = tag[a - 1];  // tag[0] is white space, so a > 0
            std::size_t p = a + attribute.size();
            if ((before != ' ' && before != '\t' && before != '\r' && before != '\n') || p + 1 >= tag.size() ||
                tag[p] != '=' || (tag[p + 1] != '"' && tag[p + 1] != '\'')) {
                continue;
            }
            const std::size_t end = tag.find(tag[p + 1], p + 2);
            if (end == std::string_view::npos) return std::nullopt;
            return std::string(tag.substr(p + 2, end - p - 2));
        }
        return std::nullopt;
    }
    return std::nullopt;
}

// The manifest's name for a program's architecture.
std::string_view ManifestArchitecture(std::string_view architecture) {
    if (architecture == "x64") return "amd64";
    return architecture;
}

const NamedResource* FindPayload(const ExecutableResources& resources, std::string_view name) {
    const auto found = std::ranges::find(resources.rawData, name, &NamedResource::name);
    return found == resources.rawData.end() ? nullptr : &*found;
}

// Whether the program carries a payload of a file: a build of another declaration than this
// patchkit's updates other files, and each of them is checked all the same.
bool CarriesPayloadOf(const ExecutableResources& resources, int index) {
    const patch::FileRow row = patch::CatalogueRow(index);
    return std::any_of(row.resourceNames.begin(), row.resourceNames.end(),
                       [&](std::string_view name) { return !name.empty() && FindPayload(resources, name) != nullptr; });
}

// Decodes a file's parts and compares them with its current version; adds what is wrong.
void CheckFile(const ExecutableResources& resources, int index, patch::PayloadDecoder& decoder,
               std::vector<std::string>& problems) {
    const patch::FileRow row = patch::CatalogueRow(index);
    const std::string file = "file " + std::to_string(index) + " " + std::string(row.fileName);
    const std::int32_t size = row.Size(row.currentVersion);
    const std::uint32_t crc = row.CurrentCrc();
    if (row.resourceNames[0].empty()) {
        problems.push_back(file + ": the catalogue names no payload for it");
        return;
    }
    std::string parts;
    std::size_t total = 0;
    std::uint32_t running = patch::kCrc32Initial;
    for (std::string_view name : row.resourceNames) {
        if (name.empty()) continue;
        parts += (parts.empty() ? "" : " + ") + std::string(name);
        const NamedResource* payload = FindPayload(resources, name);
        if (payload == nullptr) {
            problems.push_back(file + ": the program carries no payload " + std::string(name));
            return;
        }
        if (decoder.Decode(payload->bytes) != patch::DecodeError::kNone) {
            problems.push_back(file + ": payload " + std::string(name) +
                               " does not decode: " + decoder.FailureReason());
            return;
        }
        total += decoder.Output().size();
        running = patch::Crc32Update(running, decoder.Output());
    }
    std::printf("%s: %s decode to %zu bytes, CRC-32 %s\n", file.c_str(), parts.c_str(), total, Hex8(running).c_str());
    if (total != static_cast<std::size_t>(size) || running != crc) {
        problems.push_back(file + ": the payloads make " + std::to_string(total) + " bytes with CRC-32 " +
                           Hex8(running) + ", but version " + std::to_string(row.currentVersion) + " has " +
                           std::to_string(size) + " bytes with CRC-32 " + Hex8(crc));
        return;
    }
    std::printf("%s: matches version %d (%s)\n", file.c_str(), row.currentVersion,
                std::string(row.versionText).c_str());
    for (int v = 1; v <= patch::kKnownVersionCount; ++v) {
        if (v == row.currentVersion || row.Size(v) == 0) continue;
        std::printf("%s: updates version %d, %d bytes, %s\n", file.c_str(), v, row.Size(v),
                    row.UsesProbes() ? "told by its probes" : ("CRC-32 " + Hex8(row.Crc(v))).c_str());
    }
}

void CheckManifest(const ExecutableResources& resources, std::vector<std::string>& problems) {
    if (resources.manifest.empty()) {
        problems.push_back("no manifest: Windows would run the program without its execution level");
        return;
    }
    const auto level = Attribute(resources.manifest, "requestedExecutionLevel", "level");
    const auto architecture = Attribute(resources.manifest, "assemblyIdentity", "processorArchitecture");
    std::printf("manifest: execution level %s, architecture %s\n", level ? level->c_str() : "(none)",
                architecture ? architecture->c_str() : "(not named)");
    if (!level) problems.push_back("the manifest requests no execution level");
    // Windows gives a program the behaviour of the newest version its manifest names, and the
    // oldest it names is the oldest this build supports.
    if (resources.manifest.find(kOldestSupportedOs) == std::string::npos) {
        problems.push_back(std::string("the manifest names no supportedOS ") + kOldestSupportedOs + " for " +
                           UPDATER_OLDEST_WINDOWS_NAME);
    } else {
        std::printf("manifest: supported from %s\n", UPDATER_OLDEST_WINDOWS_NAME);
    }
    // Windows refuses to start a program whose own manifest names another architecture.
    if (architecture && *architecture != "*" && *architecture != ManifestArchitecture(resources.architecture)) {
        problems.push_back("the manifest names architecture " + *architecture + ", but the program is " +
                           resources.architecture);
    }
}

void CheckVersion(const ExecutableResources& resources, std::vector<std::string>& problems) {
    if (!resources.version) {
        problems.push_back("no version resource");
        return;
    }
    std::printf("version: file %s, product %s\n", Dotted(resources.version->fileVersion).c_str(),
                Dotted(resources.version->productVersion).c_str());
    for (const auto& [key, value] : resources.version->strings) {
        std::printf("version %s: %s\n", key.c_str(), value.c_str());
    }
}

int Run(Arguments args) {
    if (args.size() != 1) return UsageError(kName);
    const std::string& path = args[0];
    const ExecutableRead read = ReadExecutableResources(path);
    if (!read.resources) return Failure(kName, path + ": " + read.error);
    const ExecutableResources& resources = *read.resources;

    std::printf("program: %s\n", resources.architecture.c_str());
    for (const NamedResource& r : resources.rawData) {
        std::printf("payload %s: %zu bytes, CRC-32 %s\n", r.name.c_str(), r.bytes.size(),
                    Hex8(patch::Crc32(r.bytes)).c_str());
    }
    std::vector<std::string> problems;
    patch::PayloadDecoder decoder;
    for (int index = patch::kFirstFileIndex; index <= patch::kLastFileIndex; ++index) {
        if (patch::IsActive(updater::app::kBuildActiveSet, index) || CarriesPayloadOf(resources, index))
            CheckFile(resources, index, decoder, problems);
    }
    CheckManifest(resources, problems);
    CheckVersion(resources, problems);

    if (problems.empty()) {
        std::printf("inspect: OK\n");
        return kExitOk;
    }
    std::fflush(stdout);
    for (const std::string& problem : problems)
        Failure(kName, path + ": " + problem);
    return kExitFailed;
}

const CommandRegistration kRegistration{
    kName, "EXE", "check that an updater's payloads make every file of this build; show its manifest and version",
    &Run};

}  // namespace
}  // namespace patchkit
