// The runner on POSIX systems; the Windows one is in win32/.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "test_support/temp_folder.h"
#include "tools/patchkit_runner.h"

namespace updater::test {

ToolRun RunPatchkit(const std::vector<std::string>& args, const std::string& folder) {
    const TempFolder capture;
    const std::string outPath = capture.Path("stdout");
    const std::string errPath = capture.Path("stderr");
    std::string program = UPDATER_PATCHKIT;
    std::vector<std::string> arguments = args;
    std::vector<char*> argv{program.data()};
    for (std::string& arg : arguments)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    ToolRun run;
    const pid_t child = fork();
    if (child == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 || chdir(folder.c_str()) != 0) _exit(127);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    if (child < 0) return run;
    int status = 0;
    if (waitpid(child, &status, 0) != child) return run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = capture.Read("stdout");
    run.err = capture.Read("stderr");
    return run;
}

}  // namespace updater::test
