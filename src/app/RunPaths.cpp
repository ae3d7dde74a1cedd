#include "app/RunPaths.h"

#include "platform/FileAccess.h"
#include "scan/PathRules.h"

namespace tamrivo {

RunPaths MakeRunPaths(const CommandLineOptions& options) {
    // The root as the walk spells it in every path: a separator that the shell's completion added,
    // or a doubled one, would reach the new files.
    RunPaths paths{options.vcxprojPath,
                   options.vcxprojFiltersPath,
                   WithoutExtraSeparators(options.srcPath),
                   {},
                   {},
                   {}};
    std::string newProject = paths.project;
    std::string newFilters = paths.filters;
    // --Replace writes over the old files themselves.
    paths.newProject = NativePath(options.replace ? newProject : MakeNewFilePath(newProject));
    paths.newFilters = NativePath(options.replace ? newFilters : MakeNewFilePath(newFilters));
    // On Linux Prj gives Prj/TamrivoReport.txt, and an empty folder /TamrivoReport.txt, as Windows
    // takes the root of the current drive.
    std::string reportFile = ParentFolderRelativeToSrc(newFilters) + "\\TamrivoReport.txt";
    paths.reportFile = NativePathFromWindowsForm(reportFile);
    return paths;
}

}  // namespace tamrivo
