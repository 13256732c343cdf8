#include "patchkit/fixture_registry.h"

#include <algorithm>

namespace patchkit {
namespace {

// Filled during static initialisation, from several translation units; a function-local static
// is constructed on first use, whatever the order in which those units start.
std::vector<Fixture>& Registry() {
    static std::vector<Fixture> fixtures;
    return fixtures;
}

}  // namespace

FixtureRegistration::FixtureRegistration(std::string_view name, std::string_view description,
                                         FixtureGenerator generate) {
    Registry().push_back({name, description, generate});
}

std::vector<Fixture> Fixtures() {
    std::vector<Fixture> sorted = Registry();
    std::sort(sorted.begin(), sorted.end(), [](const Fixture& a, const Fixture& b) { return a.name < b.name; });
    return sorted;
}

const Fixture* FindFixture(std::string_view name) {
    const auto found = std::ranges::find(Registry(), name, &Fixture::name);
    return found == Registry().end() ? nullptr : &*found;
}

}  // namespace patchkit
