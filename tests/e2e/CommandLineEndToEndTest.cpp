#include <gtest/gtest.h>

#include "TestSupport.h"

namespace tamrivo {
namespace {

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
    EXPECT_NE(result.output.find(kUsage + kRefusal), std::string::npos) << result.output;
    EXPECT_EQ(result.errorOutput, "");
}

TEST(CommandLineEndToEnd, TwoArgumentsAreRefusedWithoutUsage) {
    TempDir work;
    testing::WriteFile(work / "App.vcxproj", "");
    const auto result = RunProgram(
        {TamrivoExecutable(), "--VcxprojPath=" + work / "App.vcxproj", "--SrcPath=" + work.path()},
        work.path());
    EXPECT_EQ(result.exitCode, 252);
    EXPECT_EQ(result.output.find("Usage"), std::string::npos);
    EXPECT_NE(result.output.find(kRefusal), std::string::npos);
}

}  // namespace
}  // namespace tamrivo
