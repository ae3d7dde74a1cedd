// The example's new files checked by xmllint, a program that only the Linux build can run; the
// Windows build writes the same bytes (scripts/cross-platform-check.sh).
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "WholeRunEndToEndTestSupport.h"

namespace tamrivo {
namespace {

using testing::RunProgram;
using testing::TempDir;

TEST(WholeRunEndToEnd, TheNewFilesAreWellFormedXml) {
    TempDir dir;
    const std::string repo = CopyOfTheExample(dir);
    ASSERT_EQ(RunOnTheExample(repo).exitCode, 0);
    for (const char* file : {"Prj/App.vcxproj.new", "Prj/App.vcxproj.filters.new"}) {
        const auto lint =
            RunProgram({"xmllint", "--noout", repo + "/Src/" + std::string(file)}, dir.path());
        EXPECT_EQ(lint.exitCode, 0) << file << "\n" << lint.errorOutput;
    }
}

}  // namespace
}  // namespace tamrivo
