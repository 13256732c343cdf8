// The runner on Windows: patchkit.exe from the folder of this test program, where the build puts
// every program.
#include <windows.h>

#include <string>

#include "base/win32/scoped_win.h"
#include "base/win32/system_code_page.h"
#include "test_support/temp_folder.h"
#include "tools/patchkit_runner.h"

namespace updater::test {
namespace {

// One argument as the C runtime's command-line parser will split it back out.
std::wstring Quoted(const std::wstring& arg) {
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are escaped along with it; elsewhere they stand for themselves.
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted.push_back(c);
    }
    quoted.append(backslashes * 2, L'\\');  // before the closing quote
    quoted.push_back(L'"');
    return quoted;
}

using base::win32::UniqueHandle;

UniqueHandle Capture(const std::string& path) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return UniqueHandle(CreateFileW(base::win32::WidenSystem(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

ToolRun RunPatchkit(const std::vector<std::string>& args, const std::string& folder) {
    ToolRun run;
    std::wstring program(MAX_PATH * 4, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
    if (length == 0 || length >= program.size()) return run;
    program.resize(length);
    program.resize(program.find_last_of(L"\\/") + 1);
    program += L"patchkit.exe";

    std::wstring commandLine = Quoted(program);
    for (const std::string& arg : args)
        commandLine += L" " + Quoted(base::win32::WidenSystem(arg));

    const TempFolder capture;
    {
        const UniqueHandle out = Capture(capture.Path("stdout"));
        const UniqueHandle err = Capture(capture.Path("stderr"));
        if (!out.IsOpen() || !err.IsOpen()) return run;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = nullptr;
        startup.hStdOutput = out.Get();
        startup.hStdError = err.Get();
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                            base::win32::WidenSystem(folder).c_str(), &startup, &process)) {
            return run;
        }
        const UniqueHandle processHandle(process.hProcess);
        const UniqueHandle threadHandle(process.hThread);
        DWORD code = 0;
        if (WaitForSingleObject(process.hProcess, INFINITE) == WAIT_OBJECT_0 &&
            GetExitCodeProcess(process.hProcess, &code)) {
            run.exitCode = static_cast<int>(code);
        }
    }
    run.out = capture.Read("stdout");
    run.err = capture.Read("stderr");
    return run;
}

}  // namespace updater::test
