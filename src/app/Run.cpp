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

// Reads the old project, moves its file items into oldItems and writes the new project file
// beside it; false when the old one could not be read or the new one not written. An unreadable
// project still gets its new file, holding the new groups only.
bool RegenerateProjectFile(const std::string& projectPath, const std::string& filtersPath,
                           const SourceInventory& inventory, OldItemList& oldItems,
                           std::ostream& output) {
    LineList projectLines;
    const bool read = ReadRunInput(
        "project file", projectPath,
        [&](std::istream& input) { ReadProjectLines(input, projectLines); }, output);
    ExtractOldItems(projectLines, oldItems);
    RemoveEmptyItemGroups(projectLines);

    std::string newProjectPath = projectPath;
    MakeNewFilePath(newProjectPath);
    const bool written = WriteRunOutput(
        "new project file", NativePath(newProjectPath), {projectPath, filtersPath},
        [&](std::ostream& stream) { WriteNewProject(stream, projectLines, inventory); }, output);
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
    const bool read = ReadRunInput(
        "filters file", filtersPath, [&](std::istream& input) { ReadFiltersHead(input, lines); },
        output);
    MakeNewFilePath(filtersPath);
    const bool written = WriteRunOutput(
        "new filters file", NativePath(filtersPath), inputPaths,
        [&](std::ostream& stream) { WriteNewFilters(stream, lines, inventory, folders); }, output);
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
    WalkSourceTree(sourceRoot, inventory, folders, errorOutput);
    OldItemList oldItems;
    bool complete = RegenerateProjectFile(projectPath, filtersPath, inventory, oldItems, output);
    std::string newFiltersPath = filtersPath;
    complete =
        RegenerateFiltersFile(projectPath, newFiltersPath, inventory, folders, output) && complete;

    // The report, last because it sorts the inventory; it lands in the new filters file's folder
    // relative to the current directory, and its failure leaves the exit code alone.
    std::string reportFolder = newFiltersPath;
    ParentFolderRelativeToSrc(reportFolder);
    WriteReport(oldItems, inventory, reportFolder, output, {projectPath, filtersPath});
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
    } catch (const std::exception& failure) {
        output << "Tamrivo error: " << failure.what() << std::endl;
        return kExitFilesFailed;
    }
}

}  // namespace tamrivo
