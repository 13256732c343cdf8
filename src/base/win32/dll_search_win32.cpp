#include <windows.h>

#include "base/win32/dll_search.h"

namespace updater::base::win32 {

namespace {

// The system DLLs that this program, its imports and what they start (the common controls and
// their themes, the open-file dialog, shell links, security descriptors) load by bare name, less
// the KnownDLLs of Windows 7, which always come from System32. comctl32 stays out: version 6 comes
// through the manifest's activation context, which a version 5 loaded by path would shadow.
constexpr const wchar_t* kSystemDlls[] = {
    L"uxtheme.dll", L"dwmapi.dll",   L"propsys.dll",  L"cryptbase.dll",     L"cryptsp.dll",  L"rsaenh.dll",
    L"version.dll", L"msimg32.dll",  L"winspool.drv", L"userenv.dll",       L"profapi.dll",  L"apphelp.dll",
    L"oleacc.dll",  L"ntmarta.dll",  L"sspicli.dll",  L"secur32.dll",       L"linkinfo.dll", L"ntshrui.dll",
    L"srvcli.dll",  L"cscapi.dll",   L"slc.dll",      L"shfolder.dll",      L"mpr.dll",      L"netutils.dll",
    L"devobj.dll",  L"cfgmgr32.dll", L"bcrypt.dll",   L"windowscodecs.dll",
};

// Loads each of them from System32 by its full path; the DLLs they import come from System32 too
// (LOAD_WITH_ALTERED_SEARCH_PATH searches the loaded DLL's own folder first). One missing is no
// failure: not every Windows has every one. Before the C runtime starts: no library calls.
void LoadSystemDllsByPath() noexcept {
    wchar_t path[MAX_PATH + 32];
    const UINT folder = GetSystemDirectoryW(path, MAX_PATH);
    if (folder == 0 || folder >= MAX_PATH) return;
    path[folder] = L'\\';
    for (const wchar_t* name : kSystemDlls) {
        UINT i = folder + 1;
        for (const wchar_t* c = name; *c != L'\0' && i + 1 < sizeof path / sizeof path[0]; ++c)
            path[i++] = *c;
        path[i] = L'\0';
        LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
}

}  // namespace

AnyFunction KernelFunction(const char* name) noexcept {
    // kernel32 is mapped into every process before its first instruction runs, so asking it for a
    // function loads nothing.
    const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    return kernel32 != nullptr ? reinterpret_cast<AnyFunction>(GetProcAddress(kernel32, name)) : nullptr;
}

AnyFunction NoFunction(const char*) noexcept {
    return nullptr;
}

bool RestrictDllSearchToSystem32(FunctionLookup lookup) noexcept {
    // Belt and braces, and on a Windows without SetDefaultDllDirectories the only way to take the
    // current folder (often Downloads as well) out of the search.
    SetDllDirectoryW(L"");

    // Looked up rather than imported: a program that imports it does not start at all on a
    // Windows 7 without the loader update.
    using SetDefaultDllDirectoriesFn = decltype(&SetDefaultDllDirectories);
    const auto setDefaultDllDirectories =
        reinterpret_cast<SetDefaultDllDirectoriesFn>(lookup("SetDefaultDllDirectories"));

    // System32 only: no program folder, no current folder, no PATH. Nothing of ours lives beside
    // the program (it is one self-contained file), and comctl32 version 6 comes through the
    // manifest's activation context, which is consulted before any folder.
    if (setDefaultDllDirectories != nullptr && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE)
        return true;
    LoadSystemDllsByPath();
    return false;
}

AnyFunction SystemProcedure(const wchar_t* dll, const char* name) noexcept {
    const HMODULE module = LoadLibraryW(dll);
    return module != nullptr ? reinterpret_cast<AnyFunction>(GetProcAddress(module, name)) : nullptr;
}

}  // namespace updater::base::win32

// The C runtime's own entries (mingw-w64's crt2.o): they set up the runtime, run the global
// constructors and call WinMain, main or wmain.
extern "C" int WinMainCRTStartup();
extern "C" int mainCRTStartup();

// Only the operating system's loader has run before these: the program's imports (KnownDLLs, which
// always come from System32, and comctl32 through the manifest) with their own start-up, and the C
// runtime's thread-local storage callbacks, which load nothing. 32-bit Windows calls an entry with
// the stack aligned to 4 bytes only; the C runtime realigns it itself, and these two ask the same.
#if defined(__i386__)
#define UPDATER_ENTRY_ALIGN __attribute__((force_align_arg_pointer))
#else
#define UPDATER_ENTRY_ALIGN
#endif

extern "C" UPDATER_ENTRY_ALIGN int UpdaterWindowsEntry() {
    // If the search cannot be restricted, the program still runs, as it did before this existed.
    updater::base::win32::RestrictDllSearchToSystem32();
    return WinMainCRTStartup();
}

extern "C" UPDATER_ENTRY_ALIGN int UpdaterConsoleEntry() {
    updater::base::win32::RestrictDllSearchToSystem32();
    return mainCRTStartup();
}

extern "C" UPDATER_ENTRY_ALIGN int UpdaterWindowsEntryWithoutDefaultDllDirectories() {
    updater::base::win32::RestrictDllSearchToSystem32(updater::base::win32::NoFunction);
    return WinMainCRTStartup();
}
