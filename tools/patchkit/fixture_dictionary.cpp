// The synthetic dictionary of the build's dictionary update record: the old file, the script
// (as embedded by the dictionary build) and the file the script must produce.
#include <cstdint>
#include <string>
#include <vector>

#include "fixtures/dictionary_fixture.h"
#include "patchkit/fixture_registry.h"

namespace {

using updater::fixtures::DictionaryFixture;

template <std::string DictionaryFixture::*Part>
std::vector<std::uint8_t> Generate() {
    const auto fixture = updater::fixtures::GenerateDictionaryFixture();
    if (!fixture) return {};
    const std::string& text = (*fixture).*Part;
    return {text.begin(), text.end()};
}

const patchkit::FixtureRegistration kOld{"dict-old", "dravin2.sg in its old state (20,856,322 bytes, CRC-32 134a6078)",
                                         &Generate<&DictionaryFixture::oldText>};
const patchkit::FixtureRegistration kScript{"dict-script", "the update script PSLDRAVIN2 (DOD and USUN commands)",
                                            &Generate<&DictionaryFixture::script>};
const patchkit::FixtureRegistration kNew{"dict-new", "dravin2.sg in its new state (20,908,583 bytes, CRC-32 301f4ac5)",
                                         &Generate<&DictionaryFixture::newText>};

}  // namespace
