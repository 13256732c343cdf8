// A stand-in for a DLL planted beside a program: when it is loaded, it leaves a file named after
// itself ("dwmapi.dll.loaded") in the folder that UPDATER_PLANTED_MARKERS names, holding the path
// it was loaded from. It does nothing else, so a program that loads it in earnest may fail.

#include <windows.h>

#include <string>

#include "base/win32/scoped_win.h"

namespace {

using updater::base::win32::UniqueHandle;

std::wstring Environment(const wchar_t* name) {
    std::wstring value(32768, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size())));
    return value;
}

void LeaveMarker(HMODULE self) {
    const std::wstring folder = Environment(L"UPDATER_PLANTED_MARKERS");
    if (folder.empty()) return;
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(self, path.data(), static_cast<DWORD>(path.size())));
    const std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
    const UniqueHandle marker(CreateFileW((folder + L"\\" + name + L".loaded").c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (marker.IsOpen())
        WriteFile(marker.Get(), path.data(), static_cast<DWORD>(path.size() * sizeof(wchar_t)), &written, nullptr);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) LeaveMarker(self);
    return TRUE;
}
