// The Windows shell behind the Shell seam. Paths are the product's 8-bit strings in the system
// code page, so the ANSI shell functions take them as they are; only IPersistFile wants UTF-16.
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <windows.h>

#include <new>
#include <string>

#include "base/path.h"
#include "base/win32/system_code_page.h"
#include "environment/shell.h"
#include "environment/win32/com.h"

namespace updater::environment {
namespace {

using win32::ComPtr;

bool HasNul(const std::string& text) {
    return text.find('\0') != std::string::npos;
}

class Win32Shell final : public Shell {
  public:
    std::string GetSpecialFolder(std::int32_t folderId) noexcept override {
        try {
            char buffer[MAX_PATH + 1] = {};
            if (!SHGetSpecialFolderPathA(nullptr, buffer, folderId, FALSE)) return {};
            return base::WithTrailingSeparator(buffer);
        } catch (const std::bad_alloc&) {
            return {};
        }
    }

    bool CreateShortcut(const std::string& target, const std::string& linkFile,
                        const std::string& description) noexcept override {
        try {
            // A NUL would silently cut a path short and name another file.
            if (HasNul(target) || HasNul(linkFile) || HasNul(description) || linkFile.empty()) return false;
            ComPtr<IShellLinkA> link;
            if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                        link.ReceiveVoid()))) {
                return false;
            }
            const std::string workingDirectory(base::FolderPrefixOf(target));
            if (FAILED(link->SetPath(target.c_str())) || FAILED(link->SetWorkingDirectory(workingDirectory.c_str())) ||
                FAILED(link->SetDescription(description.c_str()))) {
                return false;
            }
            ComPtr<IPersistFile> file;
            if (FAILED(link->QueryInterface(IID_IPersistFile, file.ReceiveVoid()))) return false;
            const std::wstring wideLink = base::win32::WidenSystem(linkFile);
            if (wideLink.empty()) return false;
            // Save replaces a link file of that name.
            return SUCCEEDED(file->Save(wideLink.c_str(), FALSE));
        } catch (const std::bad_alloc&) {
            return false;  // out of memory for the paths
        }
    }
};

}  // namespace

Shell& SystemShell() noexcept {
    static Win32Shell shell;
    return shell;
}

namespace win32 {

ComApartment::ComApartment() {
    const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // S_FALSE: already initialised on this thread, which still needs its matching uninitialise.
    initialised_ = SUCCEEDED(result);
    // Another mode already chosen on this thread: COM works, but the apartment is not ours to end.
    usable_ = initialised_ || result == RPC_E_CHANGED_MODE;
}

ComApartment::~ComApartment() {
    if (initialised_) CoUninitialize();
}

}  // namespace win32
}  // namespace updater::environment
