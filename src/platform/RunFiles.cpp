#include "platform/RunFiles.h"

#include <boost/filesystem/operations.hpp>
#include <cerrno>
#include <ostream>
#include <system_error>

#include "platform/FileAccess.h"

namespace tamrivo {
namespace fs = boost::filesystem;
namespace {

void ReportFailure(std::ostream& output, const std::string& action, const std::string& what,
                   const std::string& path, const std::string& reason) {
    output << "Tamrivo error: " << action << " the " << what << ": " << path << " (" << reason
           << ")" << std::endl;
}

std::string LastSystemError() {
    return std::generic_category().message(errno);
}

// True when path names the same file as one of the inputs (a link or another spelling of it).
bool IsOneOfTheInputs(const fs::path& path, const std::vector<std::string>& inputPaths) {
    boost::system::error_code error;
    for (const std::string& input : inputPaths) {
        if (fs::equivalent(path, NativePath(input), error)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool ReadRunInput(const std::string& what, const std::string& path,
                  const std::function<void(std::istream&)>& read, std::ostream& output) {
    const fs::path native = NativePath(path);
    fs::ifstream stream;
    boost::system::error_code error;
    if (fs::is_directory(native, error)) {
        ReportFailure(output, "Cannot read", what, path, "it is a folder");
        stream.setstate(std::ios::failbit);  // as a stream that failed to open
        read(stream);
        return false;
    }
    errno = 0;
    OpenInputFile(stream, native);
    if (!stream.is_open()) {
        ReportFailure(output, "Cannot read", what, path, LastSystemError());
        read(stream);
        return false;
    }
    read(stream);
    if (stream.bad()) {
        ReportFailure(output, "Cannot read", what, path, "read error");
        return false;
    }
    return true;
}

bool WriteRunOutput(const std::string& what, const fs::path& native,
                    const std::vector<std::string>& inputPaths,
                    const std::function<void(std::ostream&)>& write, std::ostream& output) {
    const std::string path = NarrowString(native);
    if (IsOneOfTheInputs(native, inputPaths)) {
        ReportFailure(output, "Refusing to write", what, path, "it is an input file of this run");
        return false;
    }
    fs::ofstream stream;
    errno = 0;
    OpenOutputFile(stream, native);
    if (!stream.is_open()) {
        ReportFailure(output, "Cannot create", what, path, LastSystemError());
        return false;
    }
    errno = 0;
    write(stream);
    stream.close();
    if (stream.fail()) {
        ReportFailure(output, "Cannot write", what, path,
                      errno != 0 ? LastSystemError() : "write error");
        return false;
    }
    return true;
}

}  // namespace tamrivo
