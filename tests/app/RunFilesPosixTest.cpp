// Run files on what only a POSIX system gives a test: permissions, symbolic links, /dev/full.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "RunFilesTestSupport.h"
#include "TestSupport.h"

namespace tamrivo {
namespace {

using testing::TempDir;
using testing::WriteFile;

TEST(ReadRunInput, ReportsAFileWithoutReadPermission) {
    TempDir dir;
    WriteFile(dir / "App.vcxproj", "a\r\nb");
    testing::OpenToEveryone(dir.path());
    ASSERT_EQ(chmod((dir / "App.vcxproj").c_str(), 0), 0);
    ReadOutcome locked;
    testing::AsUnprivilegedUser([&] { locked = ReadAll(dir / "App.vcxproj"); });
    EXPECT_FALSE(locked.ok);
    EXPECT_EQ(locked.content, "");
    EXPECT_EQ(locked.output, "Tamrivo error: Cannot read the project file: " + dir / "App.vcxproj" +
                                 " (Permission denied)\n");
}

TEST(WriteRunOutput, ReportsAFileThatCannotBeWrittenToTheEnd) {
    TempDir dir;
    std::string output;
    ASSERT_EQ(symlink("/dev/full", (dir / "full.new").c_str()), 0);
    EXPECT_FALSE(WriteText(dir / "full.new", {}, std::string(100000, 'x'), output));
    EXPECT_EQ(output, "Tamrivo error: Cannot write the new project file: " + dir / "full.new" +
                          " (No space left on device)\n");
}

TEST(WriteRunOutput, NeverWritesOverAnInputFileThroughALink) {
    TempDir dir;
    ASSERT_EQ(symlink((dir / "App.vcxproj.filters").c_str(), (dir / "App.vcxproj.new").c_str()), 0);
    ExpectWritingOverTheFiltersFileRefused(dir, dir / "App.vcxproj.new");
}

}  // namespace
}  // namespace tamrivo
