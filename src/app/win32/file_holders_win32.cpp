#include <windows.h>

#include <restartmanager.h>

#include "app/win32/file_holders.h"

#include "base/win32/dll_search.h"
#include "base/win32/system_code_page.h"

namespace updater::app::win32 {
namespace {

// Loaded at run time from System32, not imported (see base/win32/dll_search.h): the program still
// starts, and files still name no holder, on a Windows without it.
template <class Function>
Function Load(const char* name) {
    return base::win32::SystemFunction<Function>(L"rstrtmgr.dll", name);
}

struct RestartManager {
    decltype(&RmStartSession) start = Load<decltype(&RmStartSession)>("RmStartSession");
    decltype(&RmRegisterResources) registerResources = Load<decltype(&RmRegisterResources)>("RmRegisterResources");
    decltype(&RmGetList) getList = Load<decltype(&RmGetList)>("RmGetList");
    decltype(&RmEndSession) end = Load<decltype(&RmEndSession)>("RmEndSession");

    static const RestartManager& Get() {
        static const RestartManager manager;
        return manager;
    }
    bool Complete() const { return start && registerResources && getList && end; }
};

// One Restart Manager session, ended however the scope is left.
class Session {
  public:
    explicit Session(const RestartManager& manager) : manager_(manager) {
        WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
        open_ = manager_.start(&handle_, 0, key) == ERROR_SUCCESS;
    }
    ~Session() {
        if (open_) manager_.end(handle_);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    bool IsOpen() const { return open_; }
    DWORD Handle() const { return handle_; }

  private:
    const RestartManager& manager_;
    DWORD handle_ = 0;
    bool open_ = false;
};

bool IsUserProgram(RM_APP_TYPE type) {
    return type == RmMainWindow || type == RmOtherWindow || type == RmConsole;
}

}  // namespace

std::vector<FileHolder> ProgramsHolding(const std::string& path) {
    const RestartManager& manager = RestartManager::Get();
    if (!manager.Complete()) return {};
    const Session session(manager);
    if (!session.IsOpen()) return {};
    const std::wstring wide = base::win32::WidenSystem(path);
    LPCWSTR files[] = {wide.c_str()};
    if (manager.registerResources(session.Handle(), 1, files, 0, nullptr, 0, nullptr) != ERROR_SUCCESS) return {};

    std::vector<RM_PROCESS_INFO> found(4);
    for (int attempt = 0; attempt < 3; ++attempt) {
        UINT needed = 0;
        UINT count = static_cast<UINT>(found.size());
        DWORD reasons = 0;
        const DWORD result = manager.getList(session.Handle(), &needed, &count, found.data(), &reasons);
        if (result == ERROR_MORE_DATA) {
            found.resize(needed + 1u);  // a program may start holding it before the next call
            continue;
        }
        if (result != ERROR_SUCCESS) return {};
        std::vector<FileHolder> holders;
        for (UINT i = 0; i < count && i < found.size(); ++i) {
            wchar_t* name = found[i].strAppName;
            name[CCH_RM_MAX_APP_NAME] = L'\0';
            holders.push_back(
                {std::u16string(reinterpret_cast<const char16_t*>(name)), IsUserProgram(found[i].ApplicationType)});
        }
        return holders;
    }
    return {};
}

}  // namespace updater::app::win32
