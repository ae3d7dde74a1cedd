#include "TestSupport.h"

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <boost/filesystem.hpp>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <stdexcept>

#include "platform/VersionBlock.h"

namespace tamrivo::testing {
namespace fs = boost::filesystem;

TempDir::TempDir() {
    const fs::path base =
        fs::temp_directory_path() / fs::unique_path("tamrivo-test-%%%%-%%%%-%%%%");
    fs::create_directories(base);
    path_ = fs::canonical(base).string();
}

TempDir::~TempDir() {
    boost::system::error_code error;
    for (fs::recursive_directory_iterator it(path_, error), end; it != end; it.increment(error)) {
        if (it->symlink_status(error).type() == fs::directory_file) {
            fs::permissions(it->path(), fs::all_all, error);
        }
    }
    fs::remove_all(path_, error);
}

void WriteFile(const std::string& path, const std::string& bytes) {
    const fs::path parent = fs::path(path).parent_path();
    if (!parent.empty()) {
        fs::create_directories(parent);
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
    if (!file.flush()) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

bool FileExists(const std::string& path) {
    boost::system::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

std::string CrLfLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

std::string MaskFilterIdentifiers(const std::string& text, std::vector<std::string>& identifiers) {
    static const std::regex identifier("<UniqueIdentifier>\\{([0-9a-f]{40})\\}</UniqueIdentifier>");
    std::string masked;
    auto rest = text.cbegin();
    for (std::sregex_iterator it(text.begin(), text.end(), identifier), end; it != end; ++it) {
        identifiers.push_back((*it)[1].str());
        masked.append(rest, (*it)[1].first);
        masked.append(40, 'x');
        rest = (*it)[1].second;
    }
    masked.append(rest, text.cend());
    return masked;
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

std::string MaskReportTimestamp(const std::string& text) {
    static const std::regex timestamp(
        "(Tamrivo\\.exe report TamrivoReport\\.txt: )[0-9]{4}-[0-9]{2}-[0-9]{2} "
        "[0-9]{2}:[0-9]{2}:[0-9]{2}(\r?\n)");
    return std::regex_replace(text, timestamp, "$1<timestamp>$2");
}

std::string MaskBuildDate(const std::string& text) {
    static const std::regex buildDate(
        "( version [0-9]+\\.[0-9]+ from )(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
        "[ 123][0-9] [0-9]{4}\n");
    return std::regex_replace(text, buildDate, "$1<build date>\n");
}

std::string VersionBlockBytes(std::uint32_t fileVersionMS, std::uint32_t fileVersionLS,
                              const std::string& stringTable) {
    const VersionBlockHead head = {
        kVersionBlockMarker,
        {kFixedFileInfoSignature, kFixedFileInfoStructVersion, fileVersionMS, fileVersionLS,
         fileVersionMS, fileVersionLS, 0x3F, 0, 0x40004, 1, 0, 0, 0},
        static_cast<std::uint32_t>(stringTable.size())};
    return std::string(reinterpret_cast<const char*>(&head), sizeof head) + stringTable;
}

std::string MaskedBanner() {
    return "Tamrivo.exe version 1.0 from <build date>\n" TAMRIVO_LEGAL_COPYRIGHT "\n";
}

std::string TamrivoExecutable() {
    return TAMRIVO_EXECUTABLE;
}

std::string ProjectSourceDir() {
    return TAMRIVO_SOURCE_DIR;
}

}  // namespace tamrivo::testing
