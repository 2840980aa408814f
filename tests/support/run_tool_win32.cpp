#include "support/run_tool.h"

#include <windows.h>

#include "support/paths.h"
#include "support/scratch.h"
#include "text/sjis.h"

namespace {

// Quotes one argument so that the C runtime's parser gives it back unchanged. The second
// byte of 表 or ソ is no backslash to that parser either.
std::string Quote(const std::string& a) {
    std::string q = "\"";
    for (std::size_t i = 0; i < a.size(); ++i) {
        std::size_t slashes = 0;
        while (i < a.size() && IsRealBackslashAt(a.c_str(), static_cast<unsigned>(i))) {
            ++slashes;
            ++i;
        }
        if (i == a.size()) {
            q.append(slashes * 2, '\\');
            break;
        }
        if (a[i] == '"')
            q.append(slashes * 2 + 1, '\\');
        else
            q.append(slashes, '\\');
        q += a[i];
    }
    return q + "\"";
}

HANDLE Inheritable(const std::string& path, DWORD access, DWORD creation) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ, &sa, creation, 0, nullptr);
}

} // namespace

ToolResult RunTool(const std::string& program, const std::vector<std::string>& arguments,
                   const ToolOptions& options) {
    std::string exe = WindowsPath(program);
    std::string commandLine = Quote(exe);
    for (const std::string& a : arguments)
        commandLine += " " + Quote(a);
    return RunCommandLine(commandLine, options);
}

ToolResult RunCommandLine(std::string commandLine, const ToolOptions& options) {
    ScratchDir dir;
    HANDLE out = Inheritable(dir / "out", GENERIC_WRITE, CREATE_ALWAYS);
    HANDLE err = Inheritable(dir / "err", GENERIC_WRITE, CREATE_ALWAYS);
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    if (!options.input.empty() && WriteWholeFile(dir / "in", options.input))
        in = Inheritable(dir / "in", GENERIC_READ, OPEN_EXISTING);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = in;
    si.hStdOutput = out;
    si.hStdError = err;
    PROCESS_INFORMATION pi{};
    BOOL started =
        CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                       options.folder.empty() ? nullptr : options.folder.c_str(), &si, &pi);
    CloseHandle(out);
    CloseHandle(err);
    if (in != GetStdHandle(STD_INPUT_HANDLE))
        CloseHandle(in);
    if (!started)
        return {-1, "", ""};
    bool ended = false;
    while (WaitForSingleObject(pi.hProcess, options.cap > 0 ? 20 : INFINITE) == WAIT_TIMEOUT) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (GetFileAttributesExA(options.capped.c_str(), GetFileExInfoStandard, &data) &&
            (static_cast<long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow) > options.cap) {
            TerminateProcess(pi.hProcess, 1);
            WaitForSingleObject(pi.hProcess, INFINITE);
            ended = true;
        }
    }
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return {ended ? -2 : static_cast<int>(code), ReadWholeFile(dir / "out"),
            ReadWholeFile(dir / "err")};
}
