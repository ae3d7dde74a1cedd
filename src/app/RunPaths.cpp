#include "app/RunPaths.h"

#include "platform/FileAccess.h"
#include "scan/PathRules.h"

namespace tamrivo {

RunPaths MakeRunPaths(const CommandLineOptions& options) {
    RunPaths paths{options.vcxprojPath, options.vcxprojFiltersPath, options.srcPath, {}, {}, {}};
    std::string newProject = paths.project;
    paths.newProject = NativePath(MakeNewFilePath(newProject));
    std::string newFilters = paths.filters;
    paths.newFilters = NativePath(MakeNewFilePath(newFilters));
    // On Linux Prj gives Prj/TamrivoReport.txt, and an empty folder /TamrivoReport.txt, as Windows
    // takes the root of the current drive.
    std::string reportFile = ParentFolderRelativeToSrc(newFilters) + "\\TamrivoReport.txt";
    paths.reportFile = NativePathFromWindowsForm(reportFile);
    return paths;
}

}  // namespace tamrivo
