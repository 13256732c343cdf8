// Native entry point: arguments are UTF-8 already.
#include <string>
#include <vector>

#include "patchkit/patchkit.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return patchkit::RunPatchkit(args);
}
