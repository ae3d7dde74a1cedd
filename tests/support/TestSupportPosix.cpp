// The parts of the test support that only POSIX systems have: processes started with fork and
// exec, the environment, and dropping root's privileges.
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <boost/filesystem.hpp>
#include <cstdlib>
#include <stdexcept>

#include "TestSupport.h"

namespace tamrivo::testing {
namespace fs = boost::filesystem;

const char kPathListSeparator = ':';

void ScopedEnvironment::Set(const std::string& name, const char* value) {
    if (value ? setenv(name.c_str(), value, 1) != 0 : unsetenv(name.c_str()) != 0) {
        throw std::runtime_error("cannot set the environment variable " + name);
    }
}

ProgramResult RunProgram(const std::vector<std::string>& command, const std::string& workingDir,
                         bool unprivileged) {
    TempDir capture;
    const std::string outputPath = capture / "stdout";
    const std::string errorPath = capture / "stderr";

    std::vector<std::string> full;
    if (unprivileged) {
        full = {"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", "--"};
    }
    full.insert(full.end(), command.begin(), command.end());
    std::vector<char*> argv;
    for (std::string& argument : full) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child == 0) {
        if (chdir(workingDir.c_str()) != 0 || !freopen(outputPath.c_str(), "wb", stdout) ||
            !freopen(errorPath.c_str(), "wb", stderr) || !freopen("/dev/null", "rb", stdin)) {
            _exit(127);
        }
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);

    ProgramResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.output = ReadFile(outputPath);
    result.errorOutput = ReadFile(errorPath);
    return result;
}

void AsUnprivilegedUser(const std::function<void()>& work) {
    constexpr uid_t kNobody = 65534;
    constexpr gid_t kNogroup = 65534;
    std::vector<gid_t> groups(static_cast<std::size_t>(getgroups(0, nullptr)));
    groups.resize(
        static_cast<std::size_t>(getgroups(static_cast<int>(groups.size()), groups.data())));
    if (setgroups(0, nullptr) != 0 || setegid(kNogroup) != 0 || seteuid(kNobody) != 0) {
        throw std::runtime_error("cannot drop privileges: the tests run as root");
    }
    struct Restore {
        std::vector<gid_t>& groups;
        ~Restore() {
            if (seteuid(0) != 0 || setegid(0) != 0 ||
                setgroups(groups.size(), groups.data()) != 0) {
                std::abort();
            }
        }
    } restore{groups};
    work();
}

void OpenToEveryone(const std::string& path) {
    fs::permissions(path, fs::all_all);
    for (fs::recursive_directory_iterator it(path), end; it != end; ++it) {
        if (!fs::is_symlink(it->symlink_status())) {
            fs::permissions(it->path(), fs::all_all);
        }
    }
}

}  // namespace tamrivo::testing
