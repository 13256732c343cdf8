// Native programs carry their payloads in an assembled table instead of RCDATA resources.
#include <cstring>

#include "patch/embedded_resource_table.h"
#include "patch/resource_source.h"

namespace updater::patch {
namespace {

class EmbeddedResources final : public ResourceSource {
  public:
    std::optional<std::span<const std::uint8_t>> Find(std::string_view name) const override {
        for (std::size_t i = 0; i < kEmbeddedResourceCount; ++i) {
            const EmbeddedResourceEntry& e = kEmbeddedResourceTable[i];
            if (e.name != nullptr && name == e.name)
                return std::span<const std::uint8_t>(e.begin, static_cast<std::size_t>(e.end - e.begin));
        }
        return std::nullopt;
    }
};

}  // namespace

const ResourceSource& ProgramResources() {
    static const EmbeddedResources resources;
    return resources;
}

}  // namespace updater::patch
