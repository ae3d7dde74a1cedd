#include "app/Run.h"

#include <ostream>

#include "app/Banner.h"
#include "app/CommandLine.h"
#include "app/RunFiles.h"
#include "app/RunPaths.h"
#include "filters/FiltersReader.h"
#include "filters/FiltersWriter.h"
#include "model/LineList.h"
#include "model/SourceInventory.h"
#include "platform/FileAccess.h"
#include "project/NewProjectWriter.h"
#include "project/OldItemExtraction.h"
#include "project/ProjectItemLines.h"
#include "report/Report.h"
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
const std::string kReportFile = "report file";

// The run sequence after an accepted command line; false when a file could not be read or
// written (each failure has been reported on output).
bool RegenerateProjectFiles(const CommandLineOptions& options, std::ostream& output,
                            std::ostream& errorOutput) {
    const RunPaths paths = MakeRunPaths(options);
    const std::vector<std::string> inputs = {paths.project, paths.filters};

    SourceInventory inventory;
    FolderList folders;
    const boost::system::error_code rootError =
        RunStep("walking the " + kSourceRoot, paths.sourceRoot,
                [&] { return WalkSourceTree(paths.sourceRoot, inventory, folders, errorOutput); });
    if (rootError) {
        // Without the tree the new files would hold no items and the report would count none:
        // nothing is read or written.
        output << "Tamrivo error: Cannot list the " << kSourceRoot << ": " << paths.sourceRoot
               << " (" << rootError.message() << ")" << std::endl;
        return false;
    }

    // An unreadable project still gets its new file, holding the new groups only.
    LineList projectLines;
    OldItemList oldItems;
    bool complete = ReadRunInput(
        kProjectFile, paths.project,
        [&](std::istream& input) {
            ReadProjectLines(input, projectLines);
            ExtractOldItems(projectLines, oldItems);
            RemoveEmptyItemGroups(projectLines);
        },
        output);
    complete = WriteRunOutput(
                   kNewProjectFile, paths.newProject, inputs,
                   [&](std::ostream& stream) { WriteNewProject(stream, projectLines, inventory); },
                   output) &&
               complete;

    // An unreadable filters file gives a head of empty lines, and the new file is still written.
    LineList filtersHead;
    complete = ReadRunInput(
                   kFiltersFile, paths.filters,
                   [&](std::istream& input) { ReadFiltersHead(input, filtersHead); }, output) &&
               complete;
    complete =
        WriteRunOutput(
            kNewFiltersFile, paths.newFilters, inputs,
            [&](std::ostream& stream) { WriteNewFilters(stream, filtersHead, inventory, folders); },
            output) &&
        complete;

    // The report, last because it sorts the inventory; its failure leaves the exit code alone.
    RunStep("making the report", NarrowString(paths.reportFile), [&] {
        const ReportContent report = CompareOldItemsWithTree(oldItems, inventory);
        PrintReportSummary(report, output);
        WriteRunOutput(
            kReportFile, paths.reportFile, inputs,
            [&](std::ostream& stream) { WriteReport(stream, report); }, output);
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
