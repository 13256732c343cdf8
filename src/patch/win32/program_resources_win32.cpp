// Payloads are RCDATA resources of the program's own module.
#include <windows.h>

#include "base/win32/system_code_page.h"
#include "patch/resource_source.h"

namespace updater::patch {
namespace {

class ModuleResources final : public ResourceSource {
  public:
    std::optional<std::span<const std::uint8_t>> Find(std::string_view name) const override {
        const std::wstring wide = base::win32::WidenSystem(name);
        HRSRC info = FindResourceW(nullptr, wide.c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
        if (info == nullptr) return std::nullopt;
        HGLOBAL loaded = LoadResource(nullptr, info);
        DWORD size = SizeofResource(nullptr, info);
        if (loaded == nullptr) return std::nullopt;
        // Module resources stay mapped for the life of the process; nothing to release.
        const void* bytes = LockResource(loaded);
        if (bytes == nullptr && size != 0) return std::nullopt;
        return std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(bytes), size);
    }
};

}  // namespace

const ResourceSource& ProgramResources() {
    static const ModuleResources resources;
    return resources;
}

}  // namespace updater::patch
