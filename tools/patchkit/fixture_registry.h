#pragma once
// Synthetic test files that `patchkit fixture NAME OUTPUT` can write. Each generator registers
// itself from its own file with a static FixtureRegistration, so adding a fixture touches no
// other file:
//
//     static const patchkit::FixtureRegistration kRegistration{"name", "one-line description", &Generate};

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace patchkit {

// Returns the whole content of the fixture; must be deterministic (same bytes on every platform).
using FixtureGenerator = std::vector<std::uint8_t> (*)();

struct Fixture {
    std::string_view name;
    std::string_view description;
    FixtureGenerator generate;
};

struct FixtureRegistration {
    FixtureRegistration(std::string_view name, std::string_view description, FixtureGenerator generate);
};

// Every registered fixture, sorted by name.
std::vector<Fixture> Fixtures();
// nullptr when no fixture has that name.
const Fixture* FindFixture(std::string_view name);

}  // namespace patchkit
