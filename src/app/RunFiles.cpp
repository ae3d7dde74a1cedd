#include "app/RunFiles.h"

#include <boost/filesystem/operations.hpp>
#include <istream>
#include <ostream>

#include "platform/FileAccess.h"
#include "platform/InputFile.h"
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

// Why an input cannot be read at all, or nothing when it can.
std::string WhyUnreadable(const InputFile& file, const boost::system::error_code& error) {
    if (file.isFolder) {
        return "it is a folder";
    }
    if (file.isSpecial) {
        return "it is no regular file but a FIFO, a device or a socket";
    }
    return error ? Reason(error) : std::string();
}

// What a fault of an input's lines is, and what to do about it.
std::string FaultReason(TextFault fault) {
    switch (fault) {
        case TextFault::Utf16:
            return "it is UTF-16; save it as UTF-8";
        case TextFault::CarriageReturnLineEnds:
            return "its lines end in CR alone; save it with CR LF line ends";
        case TextFault::ElementEndsOnStartLine:
            return "its Project element ends on the line of its start tag; put </Project> on a "
                   "line of its own";
        case TextFault::HeadTooLong:
            return "a line before the end of its Project start tag is longer than 16 MiB";
        case TextFault::None:
            break;
    }
    return {};
}

// Reads the input at path through read; see ReadRunInput.
bool ReadInput(const std::string& what, const std::string& path,
               const std::function<TextFault(std::istream&)>& read, std::ostream& output) {
    InputFile file;
    boost::system::error_code error = OpenInputFile(NativePath(path), file);
    std::string failure = WhyUnreadable(file, error);
    if (failure.empty()) {
        InputFileBuffer buffer(file);
        std::istream stream(&buffer);
        const TextFault fault = read(stream);
        error = buffer.Error();
        failure = error ? Reason(error) : FaultReason(fault);
    }
    if (!failure.empty()) {
        ReportFailure(output, "Cannot read", what, path, failure);
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
    // The rename would replace it, as Windows does not.
    if (IsReadOnlyFile(native)) {
        ReportFailure(output, "Cannot replace", what, path, "read-only");
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

bool OutputsAreDistinct(const std::vector<RunOutput>& outputs, std::ostream& output) {
    for (auto second = outputs.begin(); second != outputs.end(); ++second) {
        for (auto first = outputs.begin(); first != second; ++first) {
            if (NameTheSameEntry(first->path, second->path)) {
                ReportFailure(output, "Refusing to write", second->what, NarrowString(second->path),
                              "it is the " + first->what + " too");
                return false;
            }
        }
    }
    return true;
}

bool ReadRunInput(const std::string& what, const std::string& path,
                  const std::function<TextFault(std::istream&)>& read, std::ostream& output) {
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
