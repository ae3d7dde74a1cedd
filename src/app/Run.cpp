#include "app/Run.h"

#include <exception>
#include <ostream>

#include "app/Banner.h"
#include "app/CommandLine.h"
#include "filters/FiltersReader.h"
#include "filters/FiltersWriter.h"
#include "model/LineList.h"
#include "model/SourceInventory.h"
#include "platform/FileAccess.h"
#include "platform/RunFiles.h"
#include "project/NewProjectWriter.h"
#include "project/OldItemExtraction.h"
#include "project/ProjectItemLines.h"
#include "report/Report.h"
#include "scan/PathRules.h"
#include "scan/SourceTreeWalk.h"

namespace tamrivo {
namespace {

void PrintUsage(std::ostream& output) {
    output << "Tamrivo error: Not enough command line arguments." << std::endl;
    output << "Usage: Tamrivo.exe" << std::endl;
    output << " --VcxprojPath        = " << std::endl;
    output << " --VcxprojFiltersPath = " << std::endl;
    output << " --SrcPath            = " << std::endl;
}

void PrintRefusal(std::ostream& output) {
    output << "Tamrivo error: Something is wrong with input directories." << std::endl;
    output << "Tamrivo error: Please check the command line input directories." << std::endl;
}

// What the run's steps work on, as their messages name it.
const std::string kSourceRoot = "source root";
const std::string kProjectFile = "project file";
const std::string kNewProjectFile = "new project file";
const std::string kFiltersFile = "filters file";
const std::string kNewFiltersFile = "new filters file";

// An exception that ended one step of the run: the step, described before it ran (by the time
// of a failure memory may have run out), and the exception, which keeps its reason's text alive.
struct StepFailure {
    std::string step;
    std::exception_ptr exception;
    const char* reason;
};

// Runs one step of the run, which does what on the file at path; an exception that escapes it
// leaves as a StepFailure naming both, for the line that ends the run.
template <typename Work>
auto RunStep(const std::string& what, const std::string& path, const Work& work) {
    std::string step = "Stopped while " + what + ": " + path;
    try {
        return work();
    } catch (const std::exception& failure) {
        throw StepFailure{std::move(step), std::current_exception(), failure.what()};
    }
}

// Reads the old project, moves its file items into oldItems and writes the new project file
// beside it; false when the old one could not be read or the new one not written. An unreadable
// project still gets its new file, holding the new groups only.
bool RegenerateProjectFile(const std::string& projectPath, const std::string& filtersPath,
                           const SourceInventory& inventory, OldItemList& oldItems,
                           std::ostream& output) {
    LineList projectLines;
    const bool read = RunStep("reading the " + kProjectFile, projectPath, [&] {
        const bool complete = ReadRunInput(
            kProjectFile, projectPath,
            [&](std::istream& input) { ReadProjectLines(input, projectLines); }, output);
        ExtractOldItems(projectLines, oldItems);
        RemoveEmptyItemGroups(projectLines);
        return complete;
    });

    std::string newProjectPath = projectPath;
    MakeNewFilePath(newProjectPath);
    const bool written = RunStep("writing the " + kNewProjectFile, newProjectPath, [&] {
        return WriteRunOutput(
            kNewProjectFile, NativePath(newProjectPath), {projectPath, filtersPath},
            [&](std::ostream& stream) { WriteNewProject(stream, projectLines, inventory); },
            output);
    });
    return read && written;
}

// Reads the head of the filters file at filtersPath and writes the new filters file; filtersPath
// becomes the new file's path. False when either file failed (reported on output); an unreadable
// filters file gives a head of empty lines, and the new file is still written.
bool RegenerateFiltersFile(const std::string& projectPath, std::string& filtersPath,
                           const SourceInventory& inventory, const FolderList& folders,
                           std::ostream& output) {
    const std::vector<std::string> inputPaths = {projectPath, filtersPath};
    LineList lines;
    const bool read = RunStep("reading the " + kFiltersFile, filtersPath, [&] {
        return ReadRunInput(
            kFiltersFile, filtersPath, [&](std::istream& input) { ReadFiltersHead(input, lines); },
            output);
    });
    MakeNewFilePath(filtersPath);
    const bool written = RunStep("writing the " + kNewFiltersFile, filtersPath, [&] {
        return WriteRunOutput(
            kNewFiltersFile, NativePath(filtersPath), inputPaths,
            [&](std::ostream& stream) { WriteNewFilters(stream, lines, inventory, folders); },
            output);
    });
    return read && written;
}

// The run sequence after an accepted command line; false when a file could not be read or
// written (each failure has been reported on output).
bool RegenerateProjectFiles(const CommandLineOptions& options, std::ostream& output,
                            std::ostream& errorOutput) {
    const std::string projectPath = options.vcxprojPath;
    const std::string filtersPath = options.vcxprojFiltersPath;
    const std::string sourceRoot = options.srcPath;

    SourceInventory inventory;
    FolderList folders;
    const boost::system::error_code rootError =
        RunStep("walking the " + kSourceRoot, sourceRoot,
                [&] { return WalkSourceTree(sourceRoot, inventory, folders, errorOutput); });
    if (rootError) {
        // Without the tree the new files would hold no items and the report would count none:
        // nothing is read or written.
        output << "Tamrivo error: Cannot list the " << kSourceRoot << ": " << sourceRoot << " ("
               << rootError.message() << ")" << std::endl;
        return false;
    }
    OldItemList oldItems;
    bool complete = RegenerateProjectFile(projectPath, filtersPath, inventory, oldItems, output);
    std::string newFiltersPath = filtersPath;
    complete =
        RegenerateFiltersFile(projectPath, newFiltersPath, inventory, folders, output) && complete;

    // The report, last because it sorts the inventory; it lands in the new filters file's folder
    // relative to the current directory, and its failure leaves the exit code alone.
    std::string reportFolder = newFiltersPath;
    ParentFolderRelativeToSrc(reportFolder);
    std::string reportPath = reportFolder;  // NativeReportPath appends the file name to it
    RunStep("making the report", NarrowString(NativeReportPath(reportPath)), [&] {
        WriteReport(oldItems, inventory, reportFolder, output, {projectPath, filtersPath});
    });
    return complete;
}

int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& output,
                   std::ostream& errorOutput) {
    // Without even the program's path (execve allows it) there is no program to name.
    if (!arguments.empty()) {
        PrintBanner(arguments.front(), output);
    }
    int exitCode = kExitComplete;
    if (arguments.size() < 3) {
        PrintUsage(output);
        exitCode = kExitUsagePrinted;
    }
    CommandLineOptions options;
    if (!ParseCommandLine(arguments, options, output)) {
        PrintRefusal(output);
        return kExitRefused;
    }
    if (!RegenerateProjectFiles(options, output, errorOutput)) {
        exitCode = kExitFilesFailed;
    }
    return exitCode;
}

}  // namespace

int RunTamrivo(const std::vector<std::string>& arguments, std::ostream& output,
               std::ostream& errorOutput) {
    try {
        return RunCommandLine(arguments, output, errorOutput);
    } catch (const StepFailure& failure) {
        output << "Tamrivo error: " << failure.step << " (" << failure.reason << ")" << std::endl;
        return kExitFilesFailed;
    } catch (const std::exception& failure) {
        output << "Tamrivo error: " << failure.what() << std::endl;
        return kExitFilesFailed;
    }
}

}  // namespace tamrivo
