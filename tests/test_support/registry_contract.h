#pragma once
// What the product's lookups and patchkit's records rely on from a registry, checked the same way
// on the tests' in-memory registry and, under Wine, on the system's: so the stand-in the native
// tests use cannot drift from what Windows does.

#include <string_view>

#include "registry_writer/writable_registry.h"

namespace updater::test {

// Works under key, a path in the current user's hive that the caller owns (it need not exist),
// and removes key again at the end.
void ExpectBehavesAsTheWindowsRegistry(tools::WritableRegistry& registry, std::string_view key);

}  // namespace updater::test
