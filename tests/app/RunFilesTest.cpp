#include "app/RunFiles.h"

#include <gtest/gtest.h>

#include "RunFilesTestSupport.h"
#include "TestSupport.h"

namespace tamrivo {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

TEST(ReadRunInput, ReadsAFileAndReportsAFolder) {
    TempDir dir;
    WriteFile(dir / "App.vcxproj", "a\r\nb");
    const ReadOutcome good = ReadAll(dir / "App.vcxproj");
    EXPECT_TRUE(good.ok);
    EXPECT_EQ(good.content, "a\r\nb");
    EXPECT_EQ(good.output, "");

    const ReadOutcome folder = ReadAll(dir.path());
    EXPECT_FALSE(folder.ok);
    EXPECT_EQ(folder.content, "");
    EXPECT_EQ(folder.output,
              "Tamrivo error: Cannot read the project file: " + dir.path() + " (it is a folder)\n");
}

TEST(WriteRunOutput, WritesAndReportsAFileThatCannotBeCreated) {
    TempDir dir;
    std::string output;
    WriteFile(dir / "out.new", "old content that is longer");
    EXPECT_TRUE(WriteText(dir / "out.new", {}, "new", output));
    EXPECT_EQ(ReadFile(dir / "out.new"), "new");
    EXPECT_EQ(output, "");

    EXPECT_FALSE(WriteText(dir / "missing/out.new", {}, "x", output));
    EXPECT_EQ(output, "Tamrivo error: Cannot create the new project file: " +
                          dir / "missing/out.new" + " (No such file or directory)\n");
}

TEST(WriteRunOutput, NeverWritesOverAnInputFileSpelledAnotherWay) {
    TempDir dir;
    ExpectWritingOverTheFiltersFileRefused(dir, dir / "./App.vcxproj.filters");
}

}  // namespace
}  // namespace tamrivo
