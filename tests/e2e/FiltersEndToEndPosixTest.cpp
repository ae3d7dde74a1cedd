// The filters file on what only a POSIX system gives a test: a file its reader may not read.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "FiltersEndToEndTestSupport.h"
#include "TestSupport.h"

namespace tamrivo {
namespace {

using testing::WriteFile;

TEST_F(FiltersRun, UnreadableFiltersFileGivesNoNewFileAndAFailedRun) {
    WriteFile(filters_, "L1\r\nL2\r\n");
    testing::OpenToEveryone(work_.path());
    ASSERT_EQ(chmod(filters_.c_str(), 0), 0);
    ExpectFailedRun(Run(true),
                    "Cannot read the filters file: " + filters_ + " (Permission denied)");
    EXPECT_FALSE(testing::FileExists(filters_ + ".new"));
}

}  // namespace
}  // namespace tamrivo
