// Windows entry point: arguments arrive as UTF-16 and become system-code-page strings, the form
// the product's paths take everywhere in the engine. Output goes out as bytes, unchanged.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/win32/system_code_page.h"
#include "patchkit/patchkit.h"

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(updater::base::win32::NarrowSystem(argv[i]));
    return patchkit::RunPatchkit(args);
}
