#include "patchkit/pe_reader.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "base/unicode.h"

namespace patchkit {
namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::uint32_t kRawDataType = 10;   // RT_RCDATA
constexpr std::uint32_t kVersionType = 16;   // RT_VERSION
constexpr std::uint32_t kManifestType = 24;  // RT_MANIFEST
constexpr std::uint32_t kHighBit = 0x8000'0000u;
constexpr std::uint32_t kImportDirectory = 1;  // indices of the optional header's data directories
constexpr std::uint32_t kResourceDirectory = 2;
constexpr std::uint32_t kDelayImportDirectory = 13;
constexpr std::uint32_t kFixedInfoSignature = 0xFEEF04BDu;
// Windows' own loaders long refused more sections; every lookup of an address walks them.
constexpr std::uint16_t kMaxSections = 96;
// Far more than any program imports (ours import a few hundred); it bounds the list's memory
// where entries of a few bytes each (by number) would otherwise make millions.
constexpr std::size_t kMaxImports = 65536;

// True when length bytes from offset lie inside a buffer of size bytes. Checked as differences
// from the end, so that no sum can wrap around.
constexpr bool Fits(std::size_t size, std::uint64_t offset, std::uint64_t length) {
    return offset <= size && length <= size - offset;
}

// Callers have checked the bytes with Fits.
std::uint16_t U16(Bytes b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
std::uint32_t U32(Bytes b, std::size_t at) {
    return static_cast<std::uint32_t>(U16(b, at)) | static_cast<std::uint32_t>(U16(b, at + 2)) << 16;
}

std::u16string ReadUtf16(Bytes b, std::size_t at, std::size_t units) {
    std::u16string text;
    for (std::size_t i = 0; i < units; ++i)
        text += static_cast<char16_t>(U16(b, at + 2 * i));
    return text;
}

std::string ArchitectureName(std::uint16_t machine) {
    switch (machine) {
        case 0x014C:
            return "x86";
        case 0x8664:
            return "x64";
        case 0xAA64:
            return "arm64";
        default: {
            static constexpr char kHex[] = "0123456789abcdef";
            std::string name = "machine 0x";
            for (int shift = 12; shift >= 0; shift -= 4)
                name += kHex[machine >> shift & 0xF];
            return name;
        }
    }
}

struct Section {
    std::uint32_t virtualAddress;
    std::uint32_t rawSize;
    std::uint32_t rawOffset;
};

class PeReader {
  public:
    // Each structure of a well-formed file is read once, so reading more bytes than the file holds
    // means that entries share their data (a resource named many times, import descriptors
    // repeated): such a file is refused before it costs more than its size in time or memory.
    explicit PeReader(Bytes image) : image_(image), budget_(image.size()) {}

    ExecutableRead Read() {
        ExecutableResources resources;
        if (!ReadHeaders(resources.architecture) || !ReadTree(resources)) return {std::nullopt, error_};
        return {std::move(resources), {}};
    }

    ImportsRead ReadImports() {
        std::string architecture;
        std::vector<ImportedFunction> imports;
        if (!ReadHeaders(architecture) || !ReadImportTable(imports)) return {std::nullopt, false, error_};
        return {std::move(imports), DataDirectory(kDelayImportDirectory).rva != 0, {}};
    }

  private:
    bool Fail(std::string reason) {
        if (error_.empty()) error_ = std::move(reason);
        return false;
    }
    // Fail, for the steps that return an optional.
    std::nullopt_t FailNone(std::string reason) {
        Fail(std::move(reason));
        return std::nullopt;
    }

    // Counts bytes read against the file's size; what names the part read (resource tree, import table).
    bool Charge(std::uint64_t bytes, std::string_view what) {
        if (bytes > budget_) {
            return Fail(std::string(what) + " reads more bytes than the file holds: its entries share their data");
        }
        budget_ -= bytes;
        return true;
    }

    bool ReadHeaders(std::string& architecture) {
        if (!Fits(image_.size(), 0, 64) || image_[0] != 'M' || image_[1] != 'Z') {
            return Fail("not a Windows program (no MZ header)");
        }
        const std::uint32_t pe = U32(image_, 0x3C);
        if (!Fits(image_.size(), pe, 24) || U32(image_, pe) != 0x0000'4550u) {
            return Fail("not a Windows program (no PE header)");
        }
        architecture = ArchitectureName(U16(image_, pe + 4));
        const std::uint16_t sectionCount = U16(image_, pe + 6);
        const std::uint16_t optionalSize = U16(image_, pe + 20);
        const std::uint64_t optional = std::uint64_t{pe} + 24;
        if (!Fits(image_.size(), optional, optionalSize) || optionalSize < 2) {
            return Fail("the optional header runs past the end of the file");
        }
        const std::uint16_t magic = U16(image_, optional);
        std::uint32_t directories = 0;  // where the data directories begin in the optional header
        if (magic == 0x10B) {
            directories = 96;
        } else if (magic == 0x20B) {
            directories = 112;
            wideThunks_ = true;
        } else {
            return Fail("unknown optional header kind");
        }
        if (optionalSize < directories) return Fail("the optional header is too short");
        // The directories the header counts, as far as the optional header holds them.
        directoryCount_ =
            std::min<std::uint32_t>(U32(image_, optional + directories - 4), (optionalSize - directories) / 8);
        directories_ = static_cast<std::size_t>(optional) + directories;

        const std::uint64_t table = optional + optionalSize;
        if (!Fits(image_.size(), table, std::uint64_t{sectionCount} * 40)) {
            return Fail("the section table runs past the end of the file");
        }
        if (sectionCount > kMaxSections) {
            return Fail(std::to_string(sectionCount) + " sections, more than a program has (at most " +
                        std::to_string(kMaxSections) + ")");
        }
        for (std::uint32_t i = 0; i < sectionCount; ++i) {
            const std::size_t at = static_cast<std::size_t>(table) + i * 40;
            sections_.push_back({U32(image_, at + 12), U32(image_, at + 16), U32(image_, at + 20)});
        }
        return true;
    }

    // The section whose bytes in the file hold an address, or nullptr.
    const Section* SectionOf(std::uint32_t rva) const {
        for (const Section& s : sections_) {
            if (rva >= s.virtualAddress && rva - s.virtualAddress < s.rawSize) return &s;
        }
        return nullptr;
    }

    // The bytes at an address of the loaded image, as the file holds them; empty after a failure.
    std::optional<Bytes> AtAddress(std::uint32_t rva, std::uint32_t length, std::string_view what) {
        const Section* s = SectionOf(rva);
        if (s == nullptr) return FailNone(std::string(what) + " lies outside every section");
        const std::uint32_t inSection = rva - s->virtualAddress;
        if (length > s->rawSize - inSection) return FailNone(std::string(what) + " runs past the end of its section");
        const std::uint64_t offset = std::uint64_t{s->rawOffset} + inSection;
        if (!Fits(image_.size(), offset, length))
            return FailNone(std::string(what) + " runs past the end of the file (truncated?)");
        return image_.subspan(static_cast<std::size_t>(offset), length);
    }

    struct Entry {
        std::uint32_t name;
        std::uint32_t data;
    };

    // The entries of the directory at offset of the resource tree.
    std::optional<std::vector<Entry>> Directory(std::uint32_t offset) {
        if (!Fits(tree_.size(), offset, 16)) return FailNone("a resource directory lies outside the resources");
        const std::uint32_t count = std::uint32_t{U16(tree_, offset + 12)} + U16(tree_, offset + 14);
        if (!Fits(tree_.size(), std::uint64_t{offset} + 16, std::uint64_t{count} * 8))
            return FailNone("a resource directory's entries run past the end of the resources");
        if (!Charge(16 + std::uint64_t{count} * 8, kTreeName)) return std::nullopt;
        std::vector<Entry> entries;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::size_t at = offset + 16 + std::size_t{i} * 8;
            entries.push_back({U32(tree_, at), U32(tree_, at + 4)});
        }
        return entries;
    }

    std::optional<std::string> EntryName(std::uint32_t name) {
        if (!(name & kHighBit)) return "#" + std::to_string(name);
        const std::uint32_t at = name & ~kHighBit;
        if (!Fits(tree_.size(), at, 2) || !Fits(tree_.size(), std::uint64_t{at} + 2, U16(tree_, at) * 2u))
            return FailNone("a resource name runs past the end of the resources");
        if (!Charge(2 + U16(tree_, at) * 2u, kTreeName)) return std::nullopt;
        return updater::base::Utf8FromUtf16(ReadUtf16(tree_, at + 2, U16(tree_, at)));
    }

    // The bytes of a name's first language.
    std::optional<Bytes> FirstLanguage(const Entry& name, std::string_view what) {
        if (!(name.data & kHighBit)) return FailNone(std::string(what) + ": the resource tree is malformed");
        auto languages = Directory(name.data & ~kHighBit);
        if (!languages) return std::nullopt;
        if (languages->empty() || (languages->front().data & kHighBit))
            return FailNone(std::string(what) + ": the resource tree is malformed");
        const std::uint32_t entry = languages->front().data;
        if (!Fits(tree_.size(), entry, 16))
            return FailNone(std::string(what) + ": its data entry lies outside the resources");
        // Charged before anything is copied: a blob named a thousand times is refused at the second.
        if (!Charge(16 + std::uint64_t{U32(tree_, entry + 4)}, kTreeName)) return std::nullopt;
        return AtAddress(U32(tree_, entry), U32(tree_, entry + 4), what);
    }

    struct DirectoryRange {
        std::uint32_t rva = 0;
        std::uint32_t size = 0;
    };

    // A data directory of the optional header; zeros when the header has not that many.
    DirectoryRange DataDirectory(std::uint32_t index) const {
        if (index >= directoryCount_) return {};
        return {U32(image_, directories_ + index * 8), U32(image_, directories_ + index * 8 + 4)};
    }

    // The NUL-terminated name at an address, at most kMaxNameLength bytes.
    std::optional<std::string> NameAt(std::uint32_t rva, std::string_view what) {
        constexpr std::uint32_t kMaxNameLength = 512;
        const Section* s = SectionOf(rva);
        // Outside every section, AtAddress says so.
        const std::uint32_t available = s ? std::min(s->rawSize - (rva - s->virtualAddress), kMaxNameLength + 1) : 0;
        auto bytes = AtAddress(rva, available, what);
        if (!bytes) return std::nullopt;
        const auto end = std::find(bytes->begin(), bytes->end(), 0);
        if (end == bytes->end()) return FailNone(std::string(what) + " has no end");
        std::string name(bytes->begin(), end);
        if (!Charge(name.size() + 1, kImportsName)) return std::nullopt;
        return name;
    }

    // Every function the import directory names, DLL by DLL in the table's order.
    bool ReadImportTable(std::vector<ImportedFunction>& imports) {
        const std::uint32_t table = DataDirectory(kImportDirectory).rva;
        if (table == 0) return true;  // imports nothing
        const std::uint32_t thunkSize = wideThunks_ ? 8 : 4;
        // Addresses are 32 bits: a table that runs up to the last one ends there, never wraps round.
        constexpr std::uint32_t kLastAddress = 0xFFFF'FFFFu;
        for (std::uint32_t descriptor = table;; descriptor += 20) {
            if (descriptor > kLastAddress - 20) return Fail("the import directory has no end");
            auto entry = AtAddress(descriptor, 20, "the import directory");
            if (!entry || !Charge(20, kImportsName)) return false;
            const std::uint32_t lookup = U32(*entry, 0);
            const std::uint32_t dllName = U32(*entry, 12);
            const std::uint32_t addresses = U32(*entry, 16);
            if (dllName == 0 && lookup == 0 && addresses == 0) return true;  // the closing entry
            auto dll = NameAt(dllName, "an imported DLL's name");
            if (!dll) return false;
            // Made once for the DLL, not for each of its functions.
            const std::string tableWhat = "the import table of " + *dll;
            const std::string nameWhat = "a function name of " + *dll;
            // The lookup table names the functions; old linkers left it out and the address table,
            // not yet bound in the file, names them instead.
            std::uint32_t thunk = lookup != 0 ? lookup : addresses;
            for (;; thunk += thunkSize) {
                if (thunk > kLastAddress - thunkSize) return Fail(tableWhat + " has no end");
                auto slot = AtAddress(thunk, thunkSize, tableWhat);
                if (!slot || !Charge(thunkSize, kImportsName)) return false;
                const std::uint64_t value =
                    wideThunks_ ? U32(*slot, 0) | std::uint64_t{U32(*slot, 4)} << 32 : U32(*slot, 0);
                if (value == 0) break;
                if (imports.size() == kMaxImports) {
                    return Fail("the import table lists more than " + std::to_string(kMaxImports) +
                                " functions, more than a program imports");
                }
                const std::uint64_t ordinalFlag = wideThunks_ ? std::uint64_t{1} << 63 : kHighBit;
                if (value & ordinalFlag) {
                    imports.push_back({*dll, "#" + std::to_string(value & 0xFFFF)});
                    continue;
                }
                if (value > 0xFFFF'FFFFu - 2) return Fail("an import of " + *dll + " is malformed");
                auto function = NameAt(static_cast<std::uint32_t>(value) + 2, nameWhat);
                if (!function || !Charge(2, kImportsName)) return false;  // and its hint
                imports.push_back({*dll, std::move(*function)});
            }
        }
    }

    bool ReadTree(ExecutableResources& resources) {
        resourceRva_ = DataDirectory(kResourceDirectory).rva;
        if (resourceRva_ == 0) return Fail("the program has no resources");
        // The tree's offsets count from its start, up to the end of the section holding it.
        for (const Section& s : sections_) {
            if (resourceRva_ < s.virtualAddress || resourceRva_ - s.virtualAddress >= s.rawSize) continue;
            auto tree = AtAddress(resourceRva_, s.rawSize - (resourceRva_ - s.virtualAddress), "the resource section");
            if (!tree) return false;
            tree_ = *tree;
        }
        if (tree_.empty()) return Fail("the resources lie outside every section");

        auto types = Directory(0);
        if (!types) return false;
        for (const Entry& type : *types) {
            if (type.name & kHighBit) continue;  // named types: none of ours
            if (type.name != kRawDataType && type.name != kManifestType && type.name != kVersionType) continue;
            if (!(type.data & kHighBit)) return Fail("the resource tree is malformed");
            auto names = Directory(type.data & ~kHighBit);
            if (!names) return false;
            for (const Entry& name : *names) {
                auto label = EntryName(name.name);
                if (!label) return false;
                if (type.name == kRawDataType) {
                    auto bytes = FirstLanguage(name, "resource " + *label);
                    if (!bytes) return false;
                    resources.rawData.push_back({*label, std::vector<std::uint8_t>(bytes->begin(), bytes->end())});
                } else if (*label == "#1") {
                    auto bytes = FirstLanguage(name, type.name == kManifestType ? "the manifest" : "the version");
                    if (!bytes) return false;
                    if (type.name == kManifestType) {
                        resources.manifest.assign(bytes->begin(), bytes->end());
                    } else {
                        resources.version = ParseVersionResource(*bytes);
                        if (!resources.version) return Fail("the version resource is malformed");
                    }
                }
            }
        }
        return true;
    }

    static constexpr std::string_view kTreeName = "the resource tree";
    static constexpr std::string_view kImportsName = "the import table";

    Bytes image_;
    std::uint64_t budget_;  // bytes the reader may still read (Charge)
    std::vector<Section> sections_;
    std::size_t directories_ = 0;  // where the data directories begin in the file
    std::uint32_t directoryCount_ = 0;
    bool wideThunks_ = false;  // PE32+: 64-bit import table entries
    std::uint32_t resourceRva_ = 0;
    Bytes tree_;
    std::string error_;
};

// One block of a version resource: a length, a value length, a type and a key, then the value
// and the child blocks, each starting on a four-byte boundary.
struct VersionBlock {
    std::u16string key;
    Bytes value;
    std::size_t children = 0;  // where the children begin
    std::size_t end = 0;
};

constexpr std::size_t Align4(std::size_t at) {
    return (at + 3) & ~std::size_t{3};
}

std::optional<VersionBlock> ReadBlock(Bytes b, std::size_t at, std::size_t limit) {
    if (!Fits(limit, at, 6)) return std::nullopt;
    const std::uint16_t length = U16(b, at);
    if (length < 6 || length > limit - at) return std::nullopt;
    VersionBlock block;
    block.end = at + length;
    const std::uint16_t valueLength = U16(b, at + 2);
    const bool text = U16(b, at + 4) == 1;
    std::size_t p = at + 6;
    for (;;) {
        if (!Fits(block.end, p, 2)) return std::nullopt;
        const std::uint16_t unit = U16(b, p);
        p += 2;
        if (unit == 0) break;
        block.key += static_cast<char16_t>(unit);
    }
    p = Align4(p);
    const std::size_t valueBytes = text ? std::size_t{valueLength} * 2 : valueLength;
    if (valueBytes > 0) {
        if (!Fits(block.end, p, valueBytes)) return std::nullopt;
        block.value = b.subspan(p, valueBytes);
    }
    block.children = std::min(Align4(p + valueBytes), block.end);
    return block;
}

// The child blocks of a block; nullopt when one is malformed.
std::optional<std::vector<VersionBlock>> Children(Bytes b, const VersionBlock& parent) {
    std::vector<VersionBlock> children;
    for (std::size_t at = parent.children; at < parent.end;) {
        auto child = ReadBlock(b, at, parent.end);
        if (!child) return std::nullopt;
        at = Align4(child->end);
        children.push_back(std::move(*child));
    }
    return children;
}

std::array<std::uint16_t, 4> VersionNumbers(Bytes fixed, std::size_t at) {
    const std::uint32_t high = U32(fixed, at);
    const std::uint32_t low = U32(fixed, at + 4);
    return {static_cast<std::uint16_t>(high >> 16), static_cast<std::uint16_t>(high),
            static_cast<std::uint16_t>(low >> 16), static_cast<std::uint16_t>(low)};
}

}  // namespace

ExecutableRead ReadPeResources(std::span<const std::uint8_t> image) {
    return PeReader(image).Read();
}

ImportsRead ReadPeImports(std::span<const std::uint8_t> image) {
    return PeReader(image).ReadImports();
}

std::optional<VersionInfo> ParseVersionResource(std::span<const std::uint8_t> bytes) {
    auto root = ReadBlock(bytes, 0, bytes.size());
    if (!root || root->key != u"VS_VERSION_INFO" || root->value.size() < 52 ||
        U32(root->value, 0) != kFixedInfoSignature) {
        return std::nullopt;
    }
    VersionInfo info;
    info.fileVersion = VersionNumbers(root->value, 8);
    info.productVersion = VersionNumbers(root->value, 16);
    auto sections = Children(bytes, *root);
    if (!sections) return std::nullopt;
    for (const VersionBlock& section : *sections) {
        if (section.key != u"StringFileInfo") continue;
        auto tables = Children(bytes, section);
        if (!tables) return std::nullopt;
        if (tables->empty()) break;
        auto strings = Children(bytes, tables->front());
        if (!strings) return std::nullopt;
        for (std::string_view key : kVersionStringKeys) {
            for (const VersionBlock& s : *strings) {
                if (updater::base::Utf8FromUtf16(s.key) != key) continue;
                std::u16string value = ReadUtf16(s.value, 0, s.value.size() / 2);
                value.resize(std::min(value.size(), value.find(u'\0')));
                info.strings.emplace_back(std::string(key), updater::base::Utf8FromUtf16(value));
                break;
            }
        }
        break;
    }
    return info;
}

}  // namespace patchkit
