#pragma once
// Where payloads come from: the raw-data resources (RCDATA) of the program's own module on
// Windows, a table assembled into the program elsewhere, or a map in tests.

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace updater::patch {

class ResourceSource {
  public:
    virtual ~ResourceSource() = default;
    // The bytes of the named resource, valid as long as the source lives; nullopt when missing.
    virtual std::optional<std::span<const std::uint8_t>> Find(std::string_view name) const = 0;
};

// The running program's own payloads.
const ResourceSource& ProgramResources();

// Resources held in memory: tests and tools that bring their own payloads.
class MemoryResources final : public ResourceSource {
  public:
    void Add(std::string name, std::vector<std::uint8_t> bytes) { resources_[std::move(name)] = std::move(bytes); }
    std::optional<std::span<const std::uint8_t>> Find(std::string_view name) const override {
        auto it = resources_.find(std::string(name));
        if (it == resources_.end()) return std::nullopt;
        return std::span<const std::uint8_t>(it->second);
    }

  private:
    std::map<std::string, std::vector<std::uint8_t>> resources_;
};

}  // namespace updater::patch
