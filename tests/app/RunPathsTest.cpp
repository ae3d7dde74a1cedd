#include "app/RunPaths.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace tamrivo {
namespace {

TEST(MakeRunPaths, PutsTheReportInTheFiltersFileFolderAfterSrc) {
    const struct {
        std::string filters, reportFile;
    } cases[] = {
        {"D:\\Repo\\Src\\Prj\\App.vcxproj.filters", "Prj\\TamrivoReport.txt"},
        {"App.vcxproj.filters", "\\TamrivoReport.txt"},
        // The folder keeps its separators; the report's name is joined with a backslash.
        {"Src/Apps/Prj/App.vcxproj.filters", "Apps/Prj\\TamrivoReport.txt"},
    };
    for (const auto& c : cases) {
        CommandLineOptions options;
        options.vcxprojPath = "Prj/App.vcxproj";
        options.vcxprojFiltersPath = c.filters;
        const RunPaths paths = MakeRunPaths(options);
        EXPECT_EQ(paths.reportFile.string(), testing::NativeSeparators(c.reportFile));
        EXPECT_EQ(paths.newProject.string(), "Prj/App.vcxproj.new");
        EXPECT_EQ(paths.newFilters.string(), c.filters + ".new");
    }
}

}  // namespace
}  // namespace tamrivo
