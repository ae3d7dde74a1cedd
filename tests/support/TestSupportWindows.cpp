// The parts of the test support that differ on Windows: processes started with CreateProcess,
// their standard handles redirected to files, and the environment.
#include <windows.h>

#include <cstdlib>
#include <stdexcept>

#include "TestSupport.h"

namespace tamrivo::testing {
namespace {

// Closes a handle when it goes out of scope.
struct OwnedHandle {
    HANDLE handle;
    ~OwnedHandle() { CloseHandle(handle); }
};

// One argument quoted so that the C runtime's command line parser gives it back unchanged.
std::string QuotedArgument(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) {
        return argument;
    }
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, '\\');
    return quoted + '"';
}

HANDLE OpenInheritable(const std::string& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    const HANDLE handle = CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      &inherit, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot open " + path);
    }
    return handle;
}

int ShellExitCode(DWORD code) {
    const int lowByte = static_cast<int>(code & 0xFF);
    return lowByte == 0 && code != 0 ? 1 : lowByte;
}

}  // namespace

const char kPathListSeparator = ';';

// The C runtime's copy of the environment and the system's, which CreateProcess passes on, both
// change; an empty value removes the variable.
void ScopedEnvironment::Set(const std::string& name, const char* value) {
    if (_putenv_s(name.c_str(), value ? value : "") != 0) {
        throw std::runtime_error("cannot set the environment variable " + name);
    }
}

ProgramResult RunProgram(const std::vector<std::string>& command, const std::string& workingDir,
                         bool unprivileged) {
    if (unprivileged) {
        throw std::logic_error("RunProgram: there are no unprivileged runs on Windows");
    }
    TempDir capture;
    const std::string outputPath = capture / "stdout";
    const std::string errorPath = capture / "stderr";

    std::string commandLine;
    for (const std::string& argument : command) {
        commandLine += (commandLine.empty() ? "" : " ") + QuotedArgument(argument);
    }

    ProgramResult result;
    {
        const OwnedHandle input{OpenInheritable("NUL", GENERIC_READ, OPEN_EXISTING)};
        const OwnedHandle output{OpenInheritable(outputPath, GENERIC_WRITE, CREATE_ALWAYS)};
        const OwnedHandle errorOutput{OpenInheritable(errorPath, GENERIC_WRITE, CREATE_ALWAYS)};
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = input.handle;
        startup.hStdOutput = output.handle;
        startup.hStdError = errorOutput.handle;
        PROCESS_INFORMATION process{};
        if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                            workingDir.c_str(), &startup, &process)) {
            result.exitCode = 127;  // what a shell reports for a program it cannot start
        } else {
            const OwnedHandle processHandle{process.hProcess};
            const OwnedHandle threadHandle{process.hThread};
            WaitForSingleObject(process.hProcess, INFINITE);
            DWORD code = 0;
            GetExitCodeProcess(process.hProcess, &code);
            result.exitCode = ShellExitCode(code);
        }
    }
    result.output = ReadFile(outputPath);
    result.errorOutput = ReadFile(errorPath);
    return result;
}

}  // namespace tamrivo::testing
