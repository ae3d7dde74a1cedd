#include <gtest/gtest.h>

#include <boost/filesystem/operations.hpp>

#include "TestSupport.h"
#include "WholeRunEndToEndTestSupport.h"

namespace tamrivo {
namespace {

// The filters file in a folder where an unprivileged run cannot create its new contents: the
// project's new contents are complete first, and still neither old file changes.
TEST(ReplaceEndToEndPosix, AFailureBeforeBothAreCompleteChangesNeitherOldFile) {
    testing::TempDir dir;
    const std::string repo = CopyOfTheExample(dir);
    const std::string src = repo + "/Src";
    boost::filesystem::create_directory(src + "/Locked");
    boost::filesystem::rename(src + "/Prj/App.vcxproj.filters",
                              src + "/Locked/App.vcxproj.filters");
    testing::OpenToEveryone(dir.path());
    boost::filesystem::permissions(src + "/Locked", boost::filesystem::perms(0555));
    const auto before = testing::SnapshotTree(dir.path());

    const auto result = testing::RunProgram(
        {testing::TamrivoExecutable(), "--Replace", "--VcxprojPath=Prj/App.vcxproj",
         "--VcxprojFiltersPath=Locked/App.vcxproj.filters", "--SrcPath=" + src},
        src, true);
    EXPECT_EQ(result.exitCode, 254);
    EXPECT_NE(result.output.find("Tamrivo error: Cannot create the new filters file"),
              std::string::npos)
        << result.output;
    EXPECT_EQ(testing::SnapshotTree(dir.path()), before);
}

}  // namespace
}  // namespace tamrivo
