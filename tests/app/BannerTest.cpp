// The banner off Windows: texts compiled in, so whatever the program's path names is never read.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "TestSupport.h"

namespace tamrivo {
namespace {

using testing::ConsoleText;

// Runs Tamrivo without arguments, started under the given path as its argument 0 (as exec -a
// does), within a time limit so that a program that blocks on a read fails instead of hanging.
testing::ProgramResult StartedAs(const std::string& programPath) {
    return testing::RunProgram({"timeout", "20", "bash", "-c", "exec -a \"$0\" \"$1\"", programPath,
                                testing::TamrivoExecutable()},
                               ".");
}

TEST(PrintBanner, ReadsNoFileThatTheProgramPathNames) {
    testing::TempDir dir;
    const std::string fifo = dir / "Tamrivo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& programPath : {std::string("/dev/zero"), fifo}) {
        SCOPED_TRACE(programPath);
        const testing::ProgramResult run = StartedAs(programPath);
        EXPECT_EQ(run.exitCode, 252);
        EXPECT_EQ(testing::MaskBuildDate(run.output).substr(0, testing::MaskedBanner().size()),
                  ConsoleText(testing::MaskedBanner()));
    }
}

}  // namespace
}  // namespace tamrivo
