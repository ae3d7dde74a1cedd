#include "app/Run.h"

#include <exception>
#include <ostream>

#include "app/Banner.h"
#include "app/CommandLine.h"
#include "project/LineList.h"
#include "report/Report.h"
#include "scan/PathRules.h"
#include "scan/SourceInventory.h"
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

// The run sequence after an accepted command line; false when a file could not be read or
// written (each failure has been reported on output).
bool RegenerateProjectFiles(const CommandLineOptions& options, std::ostream& output,
                            std::ostream& errorOutput) {
    const std::string sourceRoot = options.srcPath;

    SourceInventory inventory;
    FolderList folders;
    WalkSourceTree(sourceRoot, inventory, folders, errorOutput);

    // The report, last because it sorts the inventory; it lands in the new filters file's folder
    // relative to the current directory, and its failure leaves the exit code alone.
    const OldItemList oldItems;  // the old project's items: the project step fills them
    std::string filtersPath = options.vcxprojFiltersPath;  // the filters step makes it ".new"
    std::string reportFolder = MakeNewFilePath(filtersPath);
    ParentFolderRelativeToSrc(reportFolder);
    WriteReport(oldItems, inventory, reportFolder, output,
                {options.vcxprojPath, options.vcxprojFiltersPath});
    return true;
}

int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& output,
                   std::ostream& errorOutput) {
    PrintBanner(arguments.empty() ? std::string() : arguments.front(), output);
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
