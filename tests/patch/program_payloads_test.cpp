// The payloads this build carries: found among the program's own resources, decoded by the
// updater's decoder to the new version of the program file, and reproducible from it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fixtures/quorbel_fixture.h"
#include "patch/crc32.h"
#include "patch/payload_decoder.h"
#include "patch/resource_source.h"
#include "payload_encoder/payload_encoder.h"

namespace updater::patch {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Part {
    const char* name;
    std::size_t offset;
    std::size_t size;
};
constexpr Part kParts[] = {{"PEN251IEA", 0, 1'500'000}, {"PEN251IEB", 1'500'000, 1'221'280}};

const Bytes& NewVersion() {
    static const Bytes bytes = fixtures::MakeQuorbelNew();
    return bytes;
}

TEST(ProgramPayloads, DecodeToTheNewProgramFile) {
    PayloadDecoder decoder;
    Bytes file;
    for (const Part& part : kParts) {
        const auto payload = ProgramResources().Find(part.name);
        ASSERT_TRUE(payload.has_value()) << part.name << " is not among the program's resources";
        const DecodeError e = decoder.Decode(*payload);
        ASSERT_EQ(e, DecodeError::kNone) << part.name << ": " << Describe(e);
        EXPECT_EQ(decoder.Output().size(), part.size) << part.name;
        file.insert(file.end(), decoder.Output().begin(), decoder.Output().end());
    }
    EXPECT_EQ(file.size(), 2'721'280u);
    EXPECT_EQ(Crc32(file), 0xF4F34DB0u);
    EXPECT_TRUE(file == NewVersion()) << "the payloads decode to something other than the generated new version";
}

TEST(ProgramPayloads, AreWhatTheEncoderMakesOfTheNewVersion) {
    // Regenerating the resources must give the committed bytes on every platform, so that a
    // changed encoder or fixture cannot silently leave stale payloads behind.
    for (const Part& part : kParts) {
        const auto payload = ProgramResources().Find(part.name);
        ASSERT_TRUE(payload.has_value()) << part.name;
        const Bytes encoded = tools::EncodePayload(std::span(NewVersion()).subspan(part.offset, part.size));
        EXPECT_TRUE(std::equal(encoded.begin(), encoded.end(), payload->begin(), payload->end()))
            << part.name << ": committed " << payload->size() << " bytes, encoder gives " << encoded.size()
            << "; regenerate with patchkit fixture quorbel-new and patchkit pack";
    }
}

}  // namespace
}  // namespace updater::patch
