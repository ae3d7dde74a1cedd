// Command lines naming what only a POSIX file system gives a test: a symbolic link loop.
#include <gtest/gtest.h>
#include <unistd.h>

#include "CommandLineTestSupport.h"

namespace tamrivo {
namespace {

TEST(ParseCommandLine, ReportsAPathWhoseStatusCannotBeQueried) {
    Inputs in;
    const std::string loop = in.dir / "loop";
    ASSERT_EQ(symlink(loop.c_str(), loop.c_str()), 0);
    const Parsed parsed = Parse({"Tamrivo", "--VcxprojPath=" + loop,
                                 "--VcxprojFiltersPath=" + in.filters, "--SrcPath=" + in.src});
    EXPECT_FALSE(parsed.accepted);
    EXPECT_EQ(parsed.output, "Tamrivo error: Cannot access the path of --VcxprojPath: " + loop +
                                 " (Too many levels of symbolic links)\n");
}

}  // namespace
}  // namespace tamrivo
