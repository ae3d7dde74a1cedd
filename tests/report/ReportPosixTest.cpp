// Report files on what only a POSIX system gives a test: /dev/full, symbolic links, permissions.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ReportTestSupport.h"
#include "TestSupport.h"

namespace tamrivo {
namespace {

using testing::FileExists;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

TEST(WriteReport, ReportsAReportFileThatIsFullOrAnInputFile) {
    TempDir dir;
    WriteFile(dir / "full/keep", "");
    ASSERT_EQ(symlink("/dev/full", (dir / "full/TamrivoReport.txt").c_str()), 0);
    ExpectReportFailure(dir / "full", "Cannot write", "No space left on device");

    WriteFile(dir / "Prj/App.vcxproj.filters", "filters");
    ASSERT_EQ(symlink("App.vcxproj.filters", (dir / "Prj/TamrivoReport.txt").c_str()), 0);
    ExpectReportFailure(dir / "Prj", "Refusing to write", "it is an input file of this run",
                        {dir / "Prj/App.vcxproj", dir / "Prj/App.vcxproj.filters"});
    EXPECT_EQ(ReadFile(dir / "Prj/App.vcxproj.filters"), "filters");
}

TEST(WriteReport, ReportsAFolderOrFileThatAnUnprivilegedUserCannotWrite) {
    TempDir dir;
    WriteFile(dir / "locked/keep", "");
    WriteFile(dir / "readonly/TamrivoReport.txt", "old report");
    testing::OpenToEveryone(dir.path());
    ASSERT_EQ(chmod((dir / "locked").c_str(), 0555), 0);
    ASSERT_EQ(chmod((dir / "readonly/TamrivoReport.txt").c_str(), 0444), 0);
    testing::AsUnprivilegedUser([&] {
        ExpectReportFailure(dir / "locked", "Cannot create", "Permission denied");
        ExpectReportFailure(dir / "readonly", "Cannot create", "Permission denied");
    });
    EXPECT_FALSE(FileExists(dir / "locked/TamrivoReport.txt"));
    EXPECT_EQ(ReadFile(dir / "readonly/TamrivoReport.txt"), "old report");
}

}  // namespace
}  // namespace tamrivo
