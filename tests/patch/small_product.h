#pragma once
// A small product for the replacement tests: a CRC-identified catalogue row with an old version and
// a current one made of two payloads, all in memory.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "patch/crc32.h"
#include "patch/file_catalogue.h"
#include "patch/resource_source.h"
#include "payload_encoder/payload_encoder.h"

namespace updater::test {

// Text-like content that compresses into a payload with both literal runs and matches.
inline std::string Sample(std::size_t size, unsigned seed) {
    static const char* const kWords[] = {"slowo ", "haslo ", "tlumaczenie ", "przyklad\r\n", "odmiana ", "zwrot "};
    std::string s;
    unsigned x = seed;
    while (s.size() < size) {
        x = x * 1103515245u + 12345u;
        s += kWords[(x >> 16) % 6];
        if ((x >> 8) % 5 == 0) s += static_cast<char>(x >> 24);
    }
    s.resize(size);
    return s;
}

// The encoder has a large fixed cost per call (much more so under the sanitizers): each distinct
// piece is encoded once per test program.
inline const std::vector<std::uint8_t>& Encoded(const std::string& piece) {
    static std::map<std::string, std::vector<std::uint8_t>> cache;
    auto it = cache.find(piece);
    if (it == cache.end())
        it = cache.emplace(piece, tools::EncodePayload(std::vector<std::uint8_t>(piece.begin(), piece.end()))).first;
    return it->second;
}

// A CRC-identified row whose version 1 is `oldContent` and whose current version 2 is part A
// followed by part B, with the payloads in memory.
struct SmallProduct {
    std::string oldContent = Sample(7000, 1);
    std::string partA = Sample(5000, 2);
    std::string partB = Sample(3000, 3);
    std::string current = partA + partB;
    patch::FileRow row;
    patch::MemoryResources resources;

    SmallProduct() {
        row.index = 27;
        row.fileName = "Norvak2.exe";
        row.resourceNames = {"PARTA", "PARTB"};
        row.currentVersion = 2;
        row.sizes[0] = static_cast<std::int32_t>(oldContent.size());
        row.crcs[0] = patch::Crc32(std::vector<std::uint8_t>(oldContent.begin(), oldContent.end()));
        SetCurrent(current);
        resources.Add("PARTA", Encoded(partA));
        resources.Add("PARTB", Encoded(partB));
    }
    void SetCurrent(const std::string& content) {
        row.sizes[1] = static_cast<std::int32_t>(content.size());
        row.crcs[1] = patch::Crc32(std::vector<std::uint8_t>(content.begin(), content.end()));
    }
};

}  // namespace updater::test
