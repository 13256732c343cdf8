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

// Restricts the search for DLLs named without a path to System32 and takes the current folder out
// of it. False when this Windows cannot restrict the search (Windows 7 without its 2011 loader
// update, KB2533623); the current folder is taken out even then. Safe before the C runtime starts:
// it uses nothing but kernel32.
bool RestrictDllSearchToSystem32() noexcept;

// A function of a system DLL that is loaded at run time rather than imported. For the DLLs whose
// own start-up loads more DLLs by bare name (comctl32, and comdlg32, which imports it): imported,
// they would start before the entry restricts the search; loaded here, they come from System32
// (or, for comctl32, through the manifest) and so does all they load. The DLL stays loaded for the
// rest of the run. Null if the DLL or the function is missing.
using AnyFunction = void (*)();
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
}
