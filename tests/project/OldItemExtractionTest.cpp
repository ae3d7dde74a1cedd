#include "project/OldItemExtraction.h"

#include <gtest/gtest.h>

#include <vector>

namespace tamrivo {
namespace {

const std::string kOpen = "  <ItemGroup>";
const std::string kClose = "  </ItemGroup>";
const std::string kHead1 = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
const std::string kHead2 = "<Project DefaultTargets=\"Build\">";
const std::string kEnd = "</Project>";

std::string Item(const std::string& kind, const std::string& value) {
    return "    <" + kind + " Include=\"" + value + "\" />";
}

struct ExtractionCase {
    const char* name;
    LineList lines;
    LineList expectedLines;
    OldItemList expectedItems;
};

TEST(OldItemExtraction, RemovesItemLinesAndTheGroupsLeftEmpty) {
    const std::vector<ExtractionCase> cases = {
        {"empty project", {}, {}, {}},
        {"group of one-line items of all kinds",
         {kHead1, kHead2, kOpen, Item("ClCompile", "a.cpp"), Item("ClInclude", "a.h"),
          Item("None", "b.bat"), kClose, kEnd},
         {kHead1, kHead2, kEnd},
         {"a.cpp", "a.h", "b.bat"}},
        {"item with child elements stays with its group",
         {kOpen, Item("ClCompile", "a.cpp"), "    <ClCompile Include=\"b.cpp\">",
          "      <Filter>Lib</Filter>", "    </ClCompile>", kClose},
         {kOpen, "    <ClCompile Include=\"b.cpp\">", "      <Filter>Lib</Filter>",
          "    </ClCompile>", kClose},
         {"a.cpp"}},
        {"labelled group keeps its markers",
         {"  <ItemGroup Label=\"ProjectConfigurations\">", Item("None", "a.ini"), kClose},
         {"  <ItemGroup Label=\"ProjectConfigurations\">", kClose},
         {"a.ini"}},
        {"other indentation or trailing blanks are no markers",
         {"<ItemGroup>", "</ItemGroup>", kOpen + " ", kClose, kOpen, kClose + " "},
         {"<ItemGroup>", "</ItemGroup>", kOpen + " ", kClose, kOpen, kClose + " "},
         {}},
        {"group that was empty already, and two in a row",
         {kHead1, kOpen, kClose, kOpen, Item("None", "x.s"), kClose, kOpen, kClose, kEnd},
         {kHead1, kEnd},
         {"x.s"}},
        {"empty group after groups that are not",
         {kOpen, "    <X />", kClose, kOpen, "    <Y />", kClose, kOpen, Item("None", "a.s"),
          kClose, kEnd},
         {kOpen, "    <X />", kClose, kOpen, "    <Y />", kClose, kEnd},
         {"a.s"}},
        {"opening marker followed by opening marker",
         {kOpen, kOpen, kClose},
         {kOpen, kOpen, kClose},
         {}},
        {"opening marker as the last line", {kHead1, kOpen}, {kHead1, kOpen}, {}},
        {"closing marker examined after an unpaired line",
         {kOpen, "x", kOpen, kClose},
         {kOpen, "x"},
         {}},
        {"same item twice, in one group and in another",
         {kOpen, Item("ClCompile", "a.cpp"), Item("ClCompile", "a.cpp"), kClose, kOpen,
          Item("ClCompile", "a.cpp"), "    <Z />", kClose},
         {kOpen, "    <Z />", kClose},
         {"a.cpp", "a.cpp", "a.cpp"}},
        {"items of extensions the scan never writes stay, alone or among others",
         {kOpen, Item("None", "app.rc"), Item("ClCompile", "x.cc"), kClose, kOpen,
          Item("ClCompile", "a.cpp"), Item("None", "a.ico"), Item("ClInclude", "b.HPP"), kClose},
         {kOpen, Item("None", "app.rc"), Item("ClCompile", "x.cc"), kClose, kOpen,
          Item("None", "a.ico"), Item("ClInclude", "b.HPP"), kClose},
         {"a.cpp"}},
        {"references and MSBuild's escapes decoded before the extension test, as MSBuild reads",
         {kOpen, Item("ClCompile", "R&amp;D\\a&lt;1&gt;.c"), Item("ClInclude", "&quot;q&apos;.h"),
          Item("None", "x&amp;lt;.s"), Item("None", "y.s&#38;"), Item("None", "z.c&quot;"),
          Item("ClCompile", "a&#46;c"), Item("ClCompile", "semi%3bcolon%2Ec"),
          "    <ClCompile Include=\"b.c\" Condition=\"x\" />", kClose},
         {kOpen, Item("None", "y.s&#38;"), Item("None", "z.c&quot;"),
          "    <ClCompile Include=\"b.c\" Condition=\"x\" />", kClose},
         {"R&D\\a<1>.c", "\"q'.h", "x&lt;.s", "a.c", "semi;colon.c"}},
        {"items in file order across groups",
         {kOpen, Item("ClCompile", "b.c"), Item("ClCompile", "a.c"), kClose, kOpen,
          Item("ClInclude", "a.h"), kClose},
         {},
         {"b.c", "a.c", "a.h"}},
    };
    for (const ExtractionCase& c : cases) {
        LineList lines = c.lines;
        OldItemList items;
        ExtractOldItems(lines, items);
        RemoveEmptyItemGroups(lines);
        EXPECT_EQ(lines, c.expectedLines) << c.name;
        EXPECT_EQ(items, c.expectedItems) << c.name;
    }
}

TEST(OldItemExtraction, AppendsToTheOldItemsAndLeavesOtherLinesUnchanged) {
    LineList lines = {kOpen, Item("None", "b.s"), "  <!-- x -->", kClose};
    OldItemList items = {"a.s"};
    ExtractOldItems(lines, items);
    EXPECT_EQ(lines, LineList({kOpen, "  <!-- x -->", kClose}));
    EXPECT_EQ(items, OldItemList({"a.s", "b.s"}));
}

// About 210,000 lines, with equal item lines in many groups: an extraction that searches the
// list or erases in its middle once per item slows down by orders of magnitude here.
TEST(OldItemExtraction, HandlesLargeProjects) {
    constexpr std::size_t kGroups = 30000;
    LineList lines = {kHead1, kHead2};
    OldItemList expectedItems;
    for (std::size_t group = 0; group < kGroups; ++group) {
        lines.push_back(kOpen);
        for (const char* name : {"a.cpp", "b.cpp", "a.cpp"}) {
            expectedItems.push_back(std::to_string(group % 100) + name);
            lines.push_back(Item("ClCompile", expectedItems.back()));
        }
        lines.push_back(kClose);
        lines.push_back(kOpen);
        lines.push_back("    <Keep />");
        lines.push_back(kClose);
    }
    lines.push_back(kEnd);

    OldItemList items;
    ExtractOldItems(lines, items);
    RemoveEmptyItemGroups(lines);
    EXPECT_TRUE(items == expectedItems);
    ASSERT_EQ(lines.size(), 3 + 3 * kGroups);
    EXPECT_EQ(lines[2], kOpen);
    EXPECT_EQ(lines[3], "    <Keep />");
    EXPECT_EQ(lines.back(), kEnd);
}

// Items in any layout that XML allows, and what only looks like one.
TEST(ReadRewrittenItems, TakesEveryItemOfAKnownExtensionByItsElement) {
    const SourceInventory items = ReadRewrittenItems(
        "<?xml version='1.0'?>\n<Project>\n<!-- <ClCompile Include=\"commented.c\" /> -->\n"
        "<ItemGroup><ClCompile Condition=\"'$(A)'=='>'\"\n  Include='R&amp;D.c'/>"
        "<None Include=\"readme.txt\" /><None Include=\"x.c\">\n<Link>a.c</Link></None>\n"
        "<ClInclude Include=\"a.h\"></ClInclude><ClCompile Include=\"a.h\"/>"
        "<ClCompile><Optimization>Full</Optimization></ClCompile><Filter Include=\"b.c\"/>"
        "</ItemGroup>\n</Project>\n");
    EXPECT_EQ(items.headerFiles, std::vector<std::string>{"a.h"});
    EXPECT_EQ(items.sourceFiles, (std::vector<std::string>{"R&D.c", "a.h"}));
    EXPECT_EQ(items.otherFiles, std::vector<std::string>{"x.c"});
}

}  // namespace
}  // namespace tamrivo
