#pragma once

#include <exception>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include <boost/filesystem/path.hpp>

#include "model/ProjectHead.h"
#include "platform/OutputFile.h"

namespace tamrivo {

// An exception that ended one step of the run: the step, described before it ran (by the time
// of a failure memory may have run out), and the exception, which keeps its reason's text alive.
struct StepFailure {
    std::string step;
    std::exception_ptr exception;
    const char* reason;
};

// Runs one step of the run, which does what on the file at path; an exception that escapes it
// leaves as a StepFailure naming both, for the line that ends the run (an inner step's failure
// passes through unchanged).
template <typename Work>
auto RunStep(const std::string& what, const std::string& path, const Work& work) {
    std::string step = "Stopped while " + what + ": " + path;
    try {
        return work();
    } catch (const std::exception& failure) {
        throw StepFailure{std::move(step), std::current_exception(), failure.what()};
    }
}

// Reads one input file of the run through read, as the step "reading the <what>"; true when it
// was read whole and read found no fault in its lines. Otherwise (a folder, a FIFO, a device, no
// permission, a read error, a fault) the result is false and a "Tamrivo error: " line on output
// says why; the caller writes nothing made from what was read.
bool ReadRunInput(const std::string& what, const std::string& path,
                  const std::function<TextFault(std::istream&)>& read, std::ostream& output);

// One output of the run: what it is, as messages name it, and its native path.
struct RunOutput {
    std::string what;
    boost::filesystem::path path;
};

// True when no two of the outputs are the same file; otherwise a "Tamrivo error: " line on output
// names the later one of a pair, and nothing may be written.
bool OutputsAreDistinct(const std::vector<RunOutput>& outputs, std::ostream& output);

// Writes one output file of the run through write, as the step "writing the <what>", into a new
// file that replaces the output only once it is whole; the output's path is left as it was on any
// failure. An output that would land on one of the run's input files is refused, and so is one
// that stands there read-only; one that cannot be created or fully written is reported. Each of
// these is a "Tamrivo error: " line on output naming the path in its native form, and gives false.
bool WriteRunOutput(const std::string& what, const boost::filesystem::path& path,
                    const std::vector<std::string>& inputPaths,
                    const std::function<void(std::ostream&)>& write, std::ostream& output);

// An output of the run written whole beside its path, waiting to be put in place.
struct PreparedOutput {
    std::string what;
    boost::filesystem::path path;
    std::unique_ptr<OutputFile> file;  // removed unless placed
};

// The first half of WriteRunOutput: everything but putting the output in place. Gives false (with
// its line on output) where WriteRunOutput would fail before that.
bool PrepareRunOutput(const std::string& what, const boost::filesystem::path& path,
                      const std::vector<std::string>& inputPaths,
                      const std::function<void(std::ostream&)>& write, std::ostream& output,
                      PreparedOutput& prepared);

// The second half: puts a prepared output in place; false (with its line on output) on failure.
bool PlaceRunOutput(PreparedOutput& prepared, std::ostream& output);

}  // namespace tamrivo
