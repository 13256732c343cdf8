#pragma once
// Where this process looks for a DLL named without a path. Windows only.
//
// The updater is started from the Downloads folder with the highest rights the user has. Windows
// looks for a DLL named without a path (the way system libraries load uxtheme, dwmapi, cryptbase
// and many more at run time) in the program's own folder first, so a file planted beside the
// program would run with those rights. Programs a user may start from such a folder therefore
// begin at UpdaterWindowsEntry or UpdaterConsoleEntry (see updater_restrict_dll_search in
// cmake/updater.cmake), which restrict the search before the C runtime starts, so before any
// global constructor can load anything.

namespace updater::base::win32 {

using AnyFunction = void (*)();

// Where the entry looks for SetDefaultDllDirectories: kernel32 (KernelFunction), or, in a test
// program that plays a Windows 7 without the loader update, nowhere (NoFunction).
using FunctionLookup = AnyFunction (*)(const char* name) noexcept;
AnyFunction KernelFunction(const char* name) noexcept;
AnyFunction NoFunction(const char* name) noexcept;

// Restricts the search for DLLs named without a path to System32 and takes the current folder out
// of it. Where this Windows cannot restrict the search (Windows 7 without its 2011 loader update,
// KB2533623: no SetDefaultDllDirectories) the program's own folder stays first in the search, so
// the system DLLs that this program and its imports load by bare name are loaded from System32 by
// their full path instead, before anything else runs: a later load by bare name finds each one
// already in the process and takes it. False in that case. Safe before the C runtime starts: it
// uses nothing but kernel32.
bool RestrictDllSearchToSystem32(FunctionLookup lookup = KernelFunction) noexcept;

// A function of a system DLL that is loaded at run time rather than imported. For the DLLs whose
// own start-up loads more DLLs by bare name (comctl32, and comdlg32, which imports it): imported,
// they would start before the entry restricts the search; loaded here, they come from System32
// (or, for comctl32, through the manifest) and so does all they load. The DLL stays loaded for the
// rest of the run. Null if the DLL or the function is missing.
AnyFunction SystemProcedure(const wchar_t* dll, const char* name) noexcept;

template <typename Function>
Function SystemFunction(const wchar_t* dll, const char* name) noexcept {
    return reinterpret_cast<Function>(SystemProcedure(dll, name));
}

}  // namespace updater::base::win32

extern "C" {
// Process entries: restrict the DLL search, then hand over to the C runtime's own start-up for a
// windowed or a console program.
int UpdaterWindowsEntry();
int UpdaterConsoleEntry();
// The same as on a Windows 7 without the loader update, for the tests' probe.
int UpdaterWindowsEntryWithoutDefaultDllDirectories();
}
