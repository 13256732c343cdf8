#include "registry_writer/install_record.h"

#include <string>

#include "environment/install_location.h"
#include "environment/kod.h"

namespace updater::tools {

namespace env = environment;

bool RecordInstallFolder(WritableRegistry& registry, int appId, std::string_view folder, RegRoot root,
                         bool forceNewReg) noexcept {
    try {
        const std::string_view path = env::ProductKeyPath(appId);
        if (path.empty()) return false;
        const env::TKod& kod = env::SharedKod();
        WritableKey key = CreateRegKey(registry, root, path, RegView::k32Bit);
        if (!key.IsOpen()) return false;
        const std::string name = appId == 1
                                     ? std::string(env::kInstallFolderValue)
                                     : kod.Encode(env::kInstallFolderValue, appId, env::kInstallEntryMode, forceNewReg);
        bool ok = key.SetString(name, kod.Encode(folder, appId, env::kInstallEntryMode, forceNewReg));
        const std::string probe = kod.Encode(env::kForceNewRegValue, appId, env::kInstallEntryMode, true);
        if (forceNewReg) {
            ok = key.SetDword(probe, 1) && ok;
        } else {
            // A probe left from an earlier recording would switch the lookup to the other variant.
            env::RegValue existing;
            if (key.Query(probe, existing) == env::RegStatus::kOk) ok = key.DeleteValue(probe) && ok;
        }
        return key.Close() && ok;
    } catch (...) {
        return false;
    }
}

}  // namespace updater::tools
