#include "support/run_tool.h"

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/scratch.h"

ToolResult RunTool(const std::string& program, const std::vector<std::string>& arguments,
                   const ToolOptions& options) {
    ScratchDir dir;
    std::string outPath = dir / "out", errPath = dir / "err", inPath = dir / "in";
    bool input = !options.input.empty() && WriteWholeFile(inPath, options.input);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(err, 2);
        if (input)
            dup2(open(inPath.c_str(), O_RDONLY), 0);
        if (!options.folder.empty() && chdir(options.folder.c_str()) != 0)
            _exit(126);
        // Any file the program writes past the cap ends it (SIGXFSZ).
        if (options.cap > 0) {
            rlimit limit{static_cast<rlim_t>(options.cap), static_cast<rlim_t>(options.cap)};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (options.fileSizeLimit > 0) {
            // Past the limit a write fails with EFBIG instead of ending the program.
            signal(SIGXFSZ, SIG_IGN);
            rlimit limit{static_cast<rlim_t>(options.fileSizeLimit),
                         static_cast<rlim_t>(options.fileSizeLimit)};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid)
        return {-1, "", ""};
    if (!WIFEXITED(status))
        return {-2, ReadWholeFile(outPath), ReadWholeFile(errPath)};
    return {WEXITSTATUS(status), ReadWholeFile(outPath), ReadWholeFile(errPath)};
}
