#include "app/RunFiles.h"

#include <boost/filesystem/fstream.hpp>
#include <boost/filesystem/operations.hpp>
#include <cerrno>
#include <ostream>
#include <system_error>

#include "platform/FileAccess.h"
#include "platform/OutputFile.h"

namespace tamrivo {
namespace fs = boost::filesystem;
namespace {

void ReportFailure(std::ostream& output, const std::string& action, const std::string& what,
                   const std::string& path, const std::string& reason) {
    output << "Tamrivo error: " << action << " the " << what << ": " << path << " (" << reason
           << ")" << std::endl;
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

// The reason for a failure as the user reads it: the portable text where the system's error has
// a portable meaning, so that both platforms print "No space left on device".
std::string Reason(const boost::system::error_code& error) {
    return error.default_error_condition().message();
}

// Reads the input at path through read; see ReadRunInput.
bool ReadInput(const std::string& what, const std::string& path,
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
        ReportFailure(output, "Cannot read", what, path, std::generic_category().message(errno));
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

// Writes the output at native through write into a new file beside it; see PrepareRunOutput.
bool PrepareOutput(const std::string& what, const fs::path& native,
                   const std::vector<std::string>& inputPaths,
                   const std::function<void(std::ostream&)>& write, std::ostream& output,
                   PreparedOutput& prepared) {
    const std::string path = NarrowString(native);
    if (IsOneOfTheInputs(native, inputPaths)) {
        ReportFailure(output, "Refusing to write", what, path, "it is an input file of this run");
        return false;
    }
    // Written whole beside the output, then renamed over it: a failure or a killed run leaves
    // the output as it was, and what stood at its path is replaced, never written through.
    auto file = std::make_unique<OutputFile>();
    boost::system::error_code error = CreateOutputFile(native, *file);
    if (error) {
        ReportFailure(output, "Cannot create", what, path, Reason(error));
        return false;
    }
    OutputFileBuffer buffer(*file);
    std::ostream stream(&buffer);
    write(stream);
    error = buffer.Drain();
    if (!error) {
        error = FinishOutputFile(*file);
    }
    if (error) {
        ReportFailure(output, "Cannot write", what, path, Reason(error));
        return false;
    }
    prepared = {what, native, std::move(file)};
    return true;
}

// Only now does the output's path change; what stands there may refuse it (a folder).
bool PlaceOutput(PreparedOutput& prepared, std::ostream& output) {
    const boost::system::error_code error = PlaceOutputFile(*prepared.file, prepared.path);
    if (error) {
        ReportFailure(output, "Cannot create", prepared.what, NarrowString(prepared.path),
                      Reason(error));
        return false;
    }
    return true;
}

}  // namespace

bool ReadRunInput(const std::string& what, const std::string& path,
                  const std::function<void(std::istream&)>& read, std::ostream& output) {
    return RunStep("reading the " + what, path,
                   [&] { return ReadInput(what, path, read, output); });
}

bool WriteRunOutput(const std::string& what, const fs::path& native,
                    const std::vector<std::string>& inputPaths,
                    const std::function<void(std::ostream&)>& write, std::ostream& output) {
    PreparedOutput prepared;
    return PrepareRunOutput(what, native, inputPaths, write, output, prepared) &&
           PlaceRunOutput(prepared, output);
}

bool PrepareRunOutput(const std::string& what, const fs::path& native,
                      const std::vector<std::string>& inputPaths,
                      const std::function<void(std::ostream&)>& write, std::ostream& output,
                      PreparedOutput& prepared) {
    return RunStep("writing the " + what, NarrowString(native), [&] {
        return PrepareOutput(what, native, inputPaths, write, output, prepared);
    });
}

bool PlaceRunOutput(PreparedOutput& prepared, std::ostream& output) {
    return RunStep("writing the " + prepared.what, NarrowString(prepared.path),
                   [&] { return PlaceOutput(prepared, output); });
}

}  // namespace tamrivo
