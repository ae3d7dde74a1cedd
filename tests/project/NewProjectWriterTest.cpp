#include "project/NewProjectWriter.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "TestSupport.h"
#include "project/OldItemExtraction.h"
#include "project/ProjectItemLines.h"
#include "scan/Classification.h"

namespace tamrivo {
namespace {

using testing::CrLfLines;

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
const std::string kProject = "<Project DefaultTargets=\"Build\">";
const std::string kImport = "  <Import Project=\"$(VCTargetsPath)\\Microsoft.Cpp.targets\" />";
const std::string kOpen = "  <ItemGroup>";
const std::string kClose = "  </ItemGroup>";
const std::string kEnd = "</Project>";

// The new file of an empty inventory: the head, the three empty groups, the rest of the old lines.
std::vector<std::string> EmptyGroupsBetween(const std::vector<std::string>& head,
                                            const std::vector<std::string>& rest) {
    std::vector<std::string> lines = head;
    for (int group = 0; group < 3; ++group) {
        lines.insert(lines.end(), {kOpen, kClose});
    }
    lines.insert(lines.end(), rest.begin(), rest.end());
    return lines;
}

// The same after the usual two-line head.
std::vector<std::string> HeadAndEmptyGroupsThen(const std::vector<std::string>& rest) {
    return EmptyGroupsBetween({kDeclaration, kProject}, rest);
}

std::string Written(LineList lines, const SourceInventory& inventory) {
    std::ostringstream output;
    WriteNewProject(output, lines, inventory);
    return output.str();
}

struct WriterCase {
    const char* name;
    LineList lines;
    SourceInventory inventory;
    std::vector<std::string> expected;
};

TEST(WriteNewProject, InsertsTheGroupsAfterTheHeadAndClosesTheProject) {
    const SourceInventory none;
    const std::vector<WriterCase> cases = {
        {"worked example",
         {kDeclaration, kProject, kImport},
         {{"x.h"}, {"a.cpp", "b.cpp"}, {}},
         {kDeclaration, kProject, kOpen, kClose, kOpen, "    <ClCompile Include=\"b.cpp\" />",
          "    <ClCompile Include=\"a.cpp\" />", kClose, kOpen, "    <ClInclude Include=\"x.h\" />",
          kClose, kImport, kEnd}},
        {"entries last first, escaped for XML and MSBuild",
         {kDeclaration, kProject, kEnd},
         {{"a.h", "q\"'.h"}, {}, {"a&b.txt", "c<d>.bat"}},
         {kDeclaration, kProject, kOpen, "    <None Include=\"c&lt;d&gt;.bat\" />",
          "    <None Include=\"a&amp;b.txt\" />", kClose, kOpen, kClose, kOpen,
          "    <ClInclude Include=\"q&quot;%27.h\" />", "    <ClInclude Include=\"a.h\" />", kClose,
          kEnd}},
        {"head only", {kDeclaration, kProject}, none, HeadAndEmptyGroupsThen({kEnd})},
        {"closing line with blanks around it is kept",
         {kDeclaration, kProject, "\t </Project> \r", "", "\t"},
         none,
         HeadAndEmptyGroupsThen({"\t </Project> \r", "", "\t"})},
        {"closing line not last",
         {kDeclaration, kProject, kEnd, "<!-- -->"},
         none,
         HeadAndEmptyGroupsThen({kEnd, "<!-- -->", kEnd})},
        {"no declaration",
         {kProject, "  <ItemGroup Label=\"ProjectConfigurations\">", kClose, kEnd},
         none,
         EmptyGroupsBetween({kProject},
                            {"  <ItemGroup Label=\"ProjectConfigurations\">", kClose, kEnd})},
        {"start tag over three lines after comments that name it",
         {"<!-- <Project> -->", "<!--", "<Project a=\"b\">", "-->", "<Project",
          "  ToolsVersion='1>0'", "  DefaultTargets=\"Build\">", kImport, kEnd},
         none,
         EmptyGroupsBetween({"<!-- <Project> -->", "<!--", "<Project a=\"b\">", "-->", "<Project",
                             "  ToolsVersion='1>0'", "  DefaultTargets=\"Build\">"},
                            {kImport, kEnd})},
        {"start tag that never ends: after the second line",
         {kDeclaration, "<Project a=\">", kImport},
         none,
         EmptyGroupsBetween({kDeclaration, "<Project a=\">"}, {kImport, kEnd})},
        {"empty project",
         {},
         {{"x.h"}, {}, {}},
         {kOpen, kClose, kOpen, kClose, kOpen, "    <ClInclude Include=\"x.h\" />", kClose, kEnd}},
        {"one line",
         {kDeclaration},
         {{}, {"a.c"}, {}},
         {kDeclaration, kOpen, kClose, kOpen, "    <ClCompile Include=\"a.c\" />", kClose, kOpen,
          kClose, kEnd}},
    };
    for (const WriterCase& c : cases) {
        EXPECT_EQ(Written(c.lines, c.inventory), CrLfLines(c.expected)) << c.name;
    }
}

// Reads a written project again the way a run does.
LineList ReadAndExtract(const std::string& bytes, OldItemList& items) {
    std::istringstream input(bytes);
    LineList lines;
    ReadProjectLines(input, lines);
    ExtractOldItems(lines, items);
    RemoveEmptyItemGroups(lines);
    return lines;
}

TEST(WriteNewProject, WrittenProjectReadAgainLosesExactlyItsGroups) {
    const LineList old = {kDeclaration, kProject, "  <ItemGroup Label=\"Globals\">",
                          kClose,       kImport,  kEnd};
    SourceInventory inventory = {
        {"..\\..\\Src\\x.h"}, {"..\\..\\Src\\a b.cpp", "q\"u\" />o.c"}, {}};
    for (std::size_t n = 0; n < 50000; ++n) {
        inventory.otherFiles.push_back("..\\..\\Src\\Data\\f" + std::to_string(n) + ".bin");
    }

    OldItemList items;
    EXPECT_EQ(ReadAndExtract(Written(old, inventory), items), old);
    OldItemList expectedItems;
    for (const ProjectItemKind kind :
         {ProjectItemKind::None, ProjectItemKind::ClCompile, ProjectItemKind::ClInclude}) {
        const auto& list = ListOfKind(inventory, kind);
        expectedItems.insert(expectedItems.end(), list.rbegin(), list.rend());
    }
    EXPECT_TRUE(items == expectedItems);
}

}  // namespace
}  // namespace tamrivo
