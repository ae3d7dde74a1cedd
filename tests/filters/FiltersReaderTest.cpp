#include "filters/FiltersReader.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

namespace tamrivo {
namespace {

const std::string kStartTag = "<Project ToolsVersion=\"4.0\">";

struct HeadCase {
    const char* name;
    std::string bytes;
    LineList head;
    const char* unread;  // what is left in the stream after the head; nullptr: not looked at
    TextFault fault = TextFault::None;
};

TEST(ReadFiltersHead, KeepsTheLinesThroughTheStartTagAndReadsNoFurther) {
    const std::string many(FiltersHeadMostLines, '\n');
    const std::string longest(FiltersHeadMostLineBytes, 'y');
    const std::vector<HeadCase> cases = {
        {"usual head",
         "<?xml?>\r\n" + kStartTag + "\r\n  <ItemGroup>\r\n",
         {"<?xml?>", kStartTag},
         "  <ItemGroup>\r\n"},
        {"no declaration", kStartTag + "\n  <ItemGroup>\n", {kStartTag}, "  <ItemGroup>\n"},
        {"start tag over three lines, comments before it",
         "<!-- <Project> -->\r\n<!--\r\n<Project a=\"b\">\r\n-->\r\n<Project\r\n  a='>'\r\n  "
         "b=\"'>\">x\r\n",
         {"<!-- <Project> -->", "<!--", "<Project a=\"b\">", "-->", "<Project", "  a='>'",
          "  b=\"'>\">x"},
         ""},
        {"byte-order mark, line feeds alone",
         "\xEF\xBB\xBF" + kStartTag + "\nrest",
         {"\xEF\xBB\xBF" + kStartTag},
         "rest"},
        // No start tag: the first two lines, padded.
        {"empty file", "", {"", ""}, ""},
        {"one line", "L1", {"L1", ""}, ""},
        {"five lines", "L1\r\nL2\r\nL3\r\nL4\r\nL5", {"L1", "L2"}, ""},
        {"start tag that never ends", "L1\r\n<Project a=\">\r\n", {"L1", "<Project a=\">"}, ""},
        {"no element named Project",
         "<ProjectX>\r\n<Projects>\r\n",
         {"<ProjectX>", "<Projects>"},
         ""},
        {"start tag beyond the lines read", many + kStartTag, {"", ""}, kStartTag.c_str()},
        {"line longer than the bytes read",
         "L1\r\n" + longest + "z" + kStartTag + "\r\n",
         {"L1"},
         nullptr,
         TextFault::HeadTooLong},
        {"longest line read, its carriage return and line feed",
         longest + "\r\n" + kStartTag + "\r\n",
         {longest, kStartTag},
         ""},
    };
    for (const HeadCase& c : cases) {
        std::istringstream input(c.bytes);
        LineList lines = {"left over"};
        EXPECT_EQ(ReadFiltersHead(input, lines), c.fault) << c.name;
        EXPECT_TRUE(lines == c.head) << c.name;
        input.clear();
        if (c.unread != nullptr) {
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(input), {}), c.unread) << c.name;
        }
    }
}

}  // namespace
}  // namespace tamrivo
