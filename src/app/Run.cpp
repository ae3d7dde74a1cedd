#include "app/Run.h"

#include <future>
#include <iterator>
#include <ostream>
#include <sstream>

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
#include "report/Check.h"
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

// Walks the tree into inventory and folders, leaving out what the --Exclude patterns match; false
// when its root cannot be listed (reported on output), since without the tree nothing could be
// compared or written.
bool WalkTheTree(const CommandLineOptions& options, const RunPaths& paths,
                 SourceInventory& inventory, FolderList& folders, std::ostream& output,
                 std::ostream& errorOutput) {
    LeftOutOfWalk leftOut;
    if (!options.excludes.empty()) {
        leftOut = [&](std::string_view pathBelowRoot, bool isFolder) {
            return IsExcluded(options.excludes, pathBelowRoot, isFolder);
        };
    }
    const boost::system::error_code rootError = RunStep(
        "walking the " + kSourceRoot, paths.sourceRoot,
        [&] { return WalkSourceTree(paths.sourceRoot, inventory, folders, errorOutput, leftOut); });
    if (rootError) {
        output << "Tamrivo error: Cannot list the " << kSourceRoot << ": " << paths.sourceRoot
               << " (" << rootError.message() << ")" << std::endl;
        return false;
    }
    return true;
}

// Runs work on a thread of its own where the walk would use several threads (more than one
// processor, and handles to spare: a file read beside the walk holds one); otherwise when its
// result is asked for.
template <typename Work>
auto Meanwhile(Work work) {
    const std::launch policy =
        WalkThreadCount() > 1 ? std::launch::async | std::launch::deferred : std::launch::deferred;
    return std::async(policy, std::move(work));
}

std::string WholeText(std::istream& input) {
    return std::string(std::istreambuf_iterator<char>(input), {});
}

// Reads the whole input into text. A UTF-16 file is refused, as the readers of lines refuse it:
// no element of it could be found byte by byte.
TextFault ReadWholeText(std::istream& input, std::string& text) {
    text = WholeText(input);
    return StartsAsUtf16(text) ? TextFault::Utf16 : TextFault::None;
}

// Reads the head of the filters file and, to keep their identifiers, its filter definitions.
bool ReadFilters(const RunPaths& paths, bool keepIdentifiers, LineList& head, KeptIdentifiers& kept,
                 std::ostream& output) {
    return ReadRunInput(
        kFiltersFile, paths.filters,
        [&](std::istream& input) {
            if (!keepIdentifiers) {
                return ReadFiltersHead(input, head);
            }
            const std::string text = WholeText(input);
            std::istringstream textInput(text);
            kept = IdentifiersToKeep(ReadOldFilters(text));
            return ReadFiltersHead(textInput, head);
        },
        output);
}

// The run sequence after an accepted command line; false when a file could not be read or
// written (each failure has been reported on output). With --Replace both outputs are written
// over the old files, each put in place only once both are complete.
bool RegenerateProjectFiles(const CommandLineOptions& options, std::ostream& output,
                            std::ostream& errorOutput) {
    const RunPaths paths = MakeRunPaths(options);
    const std::vector<std::string> inputs = {paths.project, paths.filters};
    if (!OutputsAreDistinct({{kNewProjectFile, paths.newProject},
                             {kNewFiltersFile, paths.newFilters},
                             {kReportFile, paths.reportFile}},
                            output)) {
        return false;
    }
    // The project file needs nothing from the walk: it is read meanwhile, and what the reading
    // has to say waits for the walk's end, so that standard output keeps its order. An input that
    // cannot be read whole gives nothing made from it: no new project file and no report (which
    // compares with it), or no new filters file.
    LineList projectLines;
    OldItemList oldItems;
    std::ostringstream projectReadLines;
    std::future<bool> projectReading = Meanwhile([&] {
        return ReadRunInput(
            kProjectFile, paths.project,
            [&](std::istream& input) {
                const TextFault fault = ReadProjectLines(input, projectLines);
                ExtractOldItems(projectLines, oldItems);
                RemoveEmptyItemGroups(projectLines);
                return fault;
            },
            projectReadLines);
    });
    SourceInventory inventory;
    FolderList folders;
    const bool walked = WalkTheTree(options, paths, inventory, folders, output, errorOutput);
    const bool projectRead = projectReading.get();
    if (!walked) {
        return false;
    }
    output << projectReadLines.str();

    // The two files are written side by side, each beside its path, and put in place in the
    // order of the run, the project first; what each step says comes out in that order too. With
    // --Replace both are put in place only once both are complete.
    const auto inputsBeside = [&](const std::string& otherInput) {
        return options.replace ? std::vector<std::string>{otherInput} : inputs;
    };
    const auto reportStep = [&](const auto& work) {
        return RunStep("making the report", NarrowString(paths.reportFile), work);
    };
    // The report's comparison reads what the writers read, beside them; its content, or the
    // failure that stopped it, is taken in the run's order. The old items go with it.
    std::future<ReportContent> comparing;
    if (projectRead) {
        comparing = Meanwhile([&] {
            return reportStep([&] {
                ReportContent content = CompareOldItemsWithTree(oldItems, inventory);
                OldItemList().swap(oldItems);
                return content;
            });
        });
    }
    PreparedOutput newProject;
    std::ostringstream projectWriteLines;
    std::future<bool> projectWriting = Meanwhile([&] {
        return projectRead &&
               PrepareRunOutput(
                   kNewProjectFile, paths.newProject, inputsBeside(paths.filters),
                   [&](std::ostream& stream) { WriteNewProject(stream, projectLines, inventory); },
                   projectWriteLines, newProject);
    });
    PreparedOutput newFilters;
    std::ostringstream filtersWriteLines;
    LineList filtersHead;
    KeptIdentifiers kept;
    bool filtersComplete =
        ReadFilters(paths, options.keepIdentifiers, filtersHead, kept, filtersWriteLines) &&
        PrepareRunOutput(
            kNewFiltersFile, paths.newFilters, inputsBeside(paths.project),
            [&](std::ostream& stream) {
                WriteNewFilters(stream, filtersHead, inventory, folders, kept);
            },
            filtersWriteLines, newFilters);
    bool projectComplete = projectWriting.get();
    output << projectWriteLines.str();
    if (!options.replace) {
        projectComplete = projectComplete && PlaceRunOutput(newProject, output);
    }
    output << filtersWriteLines.str();
    if (!options.replace) {
        filtersComplete = filtersComplete && PlaceRunOutput(newFilters, output);
    }
    bool complete = projectComplete && filtersComplete;
    if (options.replace && complete) {
        complete = PlaceRunOutput(newProject, output) && PlaceRunOutput(newFilters, output);
    }

    // The report, last; its failure leaves the exit code alone.
    if (projectRead) {
        const ReportContent report = comparing.get();
        reportStep([&] {
            PrintReportSummary(report, output);
            WriteRunOutput(
                kReportFile, paths.reportFile, inputs,
                [&](std::ostream& stream) { WriteReport(stream, report); }, output);
        });
    }
    return complete;
}

// --Check: compares the old files with the tree and writes nothing; gives the exit code.
int CheckProjectFiles(const CommandLineOptions& options, std::ostream& output,
                      std::ostream& errorOutput) {
    const RunPaths paths = MakeRunPaths(options);
    SourceInventory inventory;
    FolderList folders;
    if (!WalkTheTree(options, paths, inventory, folders, output, errorOutput)) {
        return kExitFilesFailed;
    }
    std::string projectText;
    std::string filtersText;
    bool complete = ReadRunInput(
        kProjectFile, paths.project,
        [&](std::istream& input) { return ReadWholeText(input, projectText); }, output);
    complete =
        ReadRunInput(
            kFiltersFile, paths.filters,
            [&](std::istream& input) { return ReadWholeText(input, filtersText); }, output) &&
        complete;
    if (!complete) {
        return kExitFilesFailed;
    }
    const std::vector<std::string> differences =
        RunStep("comparing the " + kProjectFile, paths.project, [&] {
            return CheckDifferences(inventory, folders, ReadRewrittenItems(projectText),
                                    ReadOldFilters(filtersText));
        });
    for (const std::string& line : differences) {
        output << line << '\n';
    }
    output << CheckVerdict(differences) << std::endl;
    return differences.empty() ? kExitComplete : kExitNotInLine;
}

int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& output,
                   std::ostream& errorOutput) {
    // Without even the program's path (execve allows it) there is no program to name.
    if (!arguments.empty()) {
        PrintBanner(arguments.front(), output);
    }
    switch (RequestOf(arguments)) {
        case CommandLineRequest::Help:
            PrintHelp(output);
            return kExitComplete;
        case CommandLineRequest::Version:
            return kExitComplete;
        case CommandLineRequest::Run:
            break;
    }
    int exitCode = kExitComplete;
    if (arguments.size() < 3) {
        PrintUsage(output);
        exitCode = kExitUsagePrinted;
    }
    CommandLineOptions options;
    if (!ParseCommandLine(arguments, options, output, errorOutput)) {
        PrintRefusal(output);
        return kExitRefused;
    }
    WarnAboutSourceRoot(options.srcPath, errorOutput);
    if (options.check) {
        return CheckProjectFiles(options, output, errorOutput);
    }
    if (!RegenerateProjectFiles(options, output, errorOutput)) {
        exitCode = kExitFilesFailed;
    }
    return exitCode;
}

}  // namespace

int RunTamrivo(const std::vector<std::string>& arguments, std::ostream& output,
               std::ostream& errorOutput) {
    int exitCode = kExitFilesFailed;
    try {
        exitCode = RunCommandLine(arguments, output, errorOutput);
    } catch (const StepFailure& failure) {
        output << "Tamrivo error: " << failure.step << " (" << failure.reason << ")" << std::endl;
    } catch (const std::exception& failure) {
        output << "Tamrivo error: " << failure.what() << std::endl;
    }
    // Standard output carries the run's summary and error lines: a run that could not write them
    // (a full disk, a reader that went away) has failed, though its files are complete.
    if (!output.flush()) {
        errorOutput << "Tamrivo error: Cannot write the standard output" << std::endl;
        return kExitFilesFailed;
    }
    return exitCode;
}

}  // namespace tamrivo
