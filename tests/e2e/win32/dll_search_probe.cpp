// Loads DLLs by bare name, one from a global constructor and two from WinMain, and prints the file
// each came from, one "when: name <- path" line each. None of them is loaded at start-up. The
// end-to-end scenarios run it beside planted copies of all three, built once with the updater's
// own entry and once with the C runtime's (the control, which shows that the plant works).

#include <windows.h>

#include <string>

#include "base/win32/system_code_page.h"

namespace {

std::wstring LoadedFrom(const wchar_t* name) {
    const HMODULE module = LoadLibraryW(name);
    if (module == nullptr) return L"(not loaded)";
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size())));
    return path;
}

// Global constructors run before WinMain: the restriction must already hold here.
const std::wstring fromConstructor = LoadedFrom(L"dwmapi.dll");

void Say(const std::wstring& line) {
    const std::string bytes = updater::base::win32::NarrowUtf8(line + L"\n");
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    Say(L"constructor: dwmapi.dll <- " + fromConstructor);
    Say(L"main: propsys.dll <- " + LoadedFrom(L"propsys.dll"));
    Say(L"main: cryptbase.dll <- " + LoadedFrom(L"cryptbase.dll"));
    return 0;
}
