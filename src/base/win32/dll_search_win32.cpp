#include <windows.h>

#include "base/win32/dll_search.h"

namespace updater::base::win32 {

bool RestrictDllSearchToSystem32() noexcept {
    // Belt and braces, and the only help on a Windows without SetDefaultDllDirectories: the
    // current folder (often Downloads as well) leaves the search.
    SetDllDirectoryW(L"");

    // Looked up rather than imported: a program that imports it does not start at all on a
    // Windows 7 without the loader update. kernel32 is mapped into every process before its first
    // instruction runs, so asking it for a function loads nothing.
    const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    using SetDefaultDllDirectoriesFn = decltype(&SetDefaultDllDirectories);
    const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        kernel32 != nullptr ? reinterpret_cast<void (*)()>(GetProcAddress(kernel32, "SetDefaultDllDirectories"))
                            : nullptr);

    // System32 only: no program folder, no current folder, no PATH. Nothing of ours lives beside
    // the program (it is one self-contained file), and comctl32 version 6 comes through the
    // manifest's activation context, which is consulted before any folder.
    return setDefaultDllDirectories != nullptr && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
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
