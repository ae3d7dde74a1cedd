#include <gtest/gtest.h>

#include <boost/filesystem/path.hpp>
#include <cstdlib>

#include "TestSupport.h"

namespace tamrivo {
namespace {

using testing::ConsoleText;
using testing::RunProgram;
using testing::TamrivoExecutable;
using testing::TempDir;

const std::string kUsage =
    "Tamrivo error: Not enough command line arguments.\n"
    "Usage: Tamrivo.exe\n"
    " --VcxprojPath        = \n"
    " --VcxprojFiltersPath = \n"
    " --SrcPath            = \n";
const std::string kRefusal =
    "Tamrivo error: Something is wrong with input directories.\n"
    "Tamrivo error: Please check the command line input directories.\n";

TEST(CommandLineEndToEnd, NoArgumentsPrintUsageAndRefusal) {
    TempDir work;
    const auto result = RunProgram({TamrivoExecutable()}, work.path());
    EXPECT_EQ(result.exitCode, 252);
    EXPECT_EQ(testing::MaskBuildDate(result.output),
              ConsoleText(testing::MaskedBanner() + kUsage + kRefusal));
}

// Started by its bare name from PATH, the program reads its own file, not a file of that name in
// the working folder.
TEST(CommandLineEndToEnd, StartedFromPathPrintsItsOwnBanner) {
    TempDir work;
    testing::WriteFile(work / "Tamrivo", "not the program");
    const std::string folder = boost::filesystem::path(TamrivoExecutable()).parent_path().string();
    const testing::ScopedEnvironment path(
        "PATH", (folder + testing::kPathListSeparator + std::getenv("PATH")).c_str());
    const auto result = RunProgram({"Tamrivo"}, work.path());
    EXPECT_EQ(result.exitCode, 252);
    EXPECT_EQ(testing::MaskBuildDate(result.output),
              ConsoleText(testing::MaskedBanner() + kUsage + kRefusal));
}

TEST(CommandLineEndToEnd, TwoArgumentsAreRefusedWithoutUsage) {
    TempDir work;
    testing::WriteFile(work / "App.vcxproj", "");
    const auto result = RunProgram(
        {TamrivoExecutable(), "--VcxprojPath=" + work / "App.vcxproj", "--SrcPath=" + work.path()},
        work.path());
    EXPECT_EQ(result.exitCode, 252);
    EXPECT_EQ(result.output.find("Usage"), std::string::npos);
    EXPECT_NE(result.output.find(ConsoleText(kRefusal)), std::string::npos);
}

TEST(CommandLineEndToEnd, AnAcceptedCommandLineRunsToTheEnd) {
    TempDir work;
    const std::string src = work / "Repo/Src";
    testing::WriteFile(src + "/Prj/App.vcxproj", "");
    testing::WriteFile(src + "/Prj/App.vcxproj.filters", "");
    testing::WriteFile(src + "/App/main.c", "");
    const auto result =
        RunProgram({TamrivoExecutable(), "--VcxprojPath=Prj/App.vcxproj",
                    "--VcxprojFiltersPath=Prj/App.vcxproj.filters", "--SrcPath=" + src},
                   src);
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(result.output.find("Tamrivo error"), std::string::npos) << result.output;
    EXPECT_EQ(result.errorOutput, "");
}

}  // namespace
}  // namespace tamrivo
