#include "filters/FiltersReader.h"

#include <gtest/gtest.h>

#include <sstream>

#include "TestSupport.h"
#include "platform/FileAccess.h"

namespace tamrivo {
namespace {

struct ReadCase {
    const char* name;
    std::string bytes;
    LineList lines;
};

TEST(ReadFiltersLines, TakesTheHeadLinesAndAnEmptyOneAfterAFinalLineEnd) {
    const std::vector<ReadCase> cases = {
        {"empty file", "", {""}},
        {"one line", "L1", {"L1"}},
        {"one line, line end", "L1\r\n", {"L1", ""}},
        {"two lines", "L1\r\nL2", {"L1", "L2"}},
        {"two lines, line end", "L1\r\nL2\r\n", {"L1", "L2"}},
        {"five lines", "L1\r\nL2\r\nL3\r\nL4\r\nL5", {"L1", "L2"}},
        {"byte-order mark", "\xEF\xBB\xBFL1\r\nL2\r\n", {"\xEF\xBB\xBFL1", "L2"}},
        {"line feeds alone", "L1\nL2\n", {"L1", "L2"}},
        {"empty lines", "\r\n\n", {"", ""}},
        {"carriage returns elsewhere", "a\rb\r\r\nc\r", {"a\rb\r", "c\r"}},
    };
    for (const ReadCase& c : cases) {
        std::istringstream input(c.bytes);
        LineList lines = {"left over"};
        EXPECT_TRUE(ReadFiltersLines(input, lines)) << c.name;
        EXPECT_EQ(lines, c.lines) << c.name;
    }
}

TEST(ReadFiltersLines, ReadsAFileAndNoLinesFromAStreamWithoutOne) {
    testing::TempDir dir;
    testing::WriteFile(dir / "App.vcxproj.filters", "L1\r\nL2\r\nL3");
    boost::filesystem::ifstream file;
    OpenInputFile(file, NativePath(dir / "App.vcxproj.filters"));
    LineList lines;
    EXPECT_TRUE(ReadFiltersLines(file, lines));
    EXPECT_EQ(lines, (LineList{"L1", "L2"}));

    boost::filesystem::ifstream missing;
    OpenInputFile(missing, NativePath(dir / "missing.filters"));
    lines = {"left over"};
    EXPECT_FALSE(ReadFiltersLines(missing, lines));
    EXPECT_TRUE(lines.empty());

    boost::filesystem::ifstream neverOpened;
    lines = {"left over"};
    EXPECT_FALSE(ReadFiltersLines(neverOpened, lines));
    EXPECT_TRUE(lines.empty());
}

}  // namespace
}  // namespace tamrivo
