// The payloads this build carries are what the encoder makes of the new version of the program
// file (that they decode to it is payload_decoder_test's and file_replacement_test's).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fixtures/quorbel_fixture.h"
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
