#include <gtest/gtest.h>

#include <boost/filesystem/operations.hpp>
#include <set>

#include "FiltersEndToEndTestSupport.h"
#include "TestSupport.h"

namespace tamrivo {
namespace {

using testing::CrLfLines;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;
using Lines = std::vector<std::string>;

const std::string kIdentifierLine =
    "      <UniqueIdentifier>{" + std::string(40, 'x') + "}</UniqueIdentifier> ";

TEST_F(FiltersRun, ExampleTreeGivesTheExampleFileWithNewIdentifiersOnEveryRun) {
    WriteFile(src_ + "/Module/a.h", "");
    WriteFile(src_ + "/Module/Sub/b.c", "");
    WriteFile(src_ + "/main.c", "");
    const std::string oldFilters =
        CrLfLines({"<?xml version=\"1.0\" encoding=\"utf-8\"?>",
                   "<Project ToolsVersion=\"4.0\" "
                   "xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">",
                   "  <ItemGroup>", "    <Filter Include=\"Old\">",
                   "      <UniqueIdentifier>{4FC737F1-C7A5-4376-A066-2A32D752A2FF}"
                   "</UniqueIdentifier>",
                   "    </Filter>", "  </ItemGroup>", "</Project>"});
    WriteFile(filters_, oldFilters);

    // The walk lists a folder as Windows does on NTFS, so main.c comes before Module.
    const std::string expected = CrLfLines({
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>",
        "<Project ToolsVersion=\"4.0\" "
        "xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">",
        "  <ItemGroup>",
        "    <Filter Include=\"Module\"> ",
        kIdentifierLine,
        "    </Filter > ",
        "    <Filter Include=\"Module\\Sub\"> ",
        kIdentifierLine,
        "    </Filter > ",
        "  </ItemGroup>",
        "  <ItemGroup>",
        "    <ClCompile Include=\"..\\..\\Src\\main.c\"> ",
        "      <Filter></Filter> ",
        "    </ClCompile> ",
        "    <ClCompile Include=\"..\\..\\Src\\Module\\Sub\\b.c\"> ",
        "      <Filter>Module\\Sub</Filter> ",
        "    </ClCompile> ",
        "  </ItemGroup>",
        "  <ItemGroup>",
        "    <ClInclude Include=\"..\\..\\Src\\Module\\a.h\"> ",
        "      <Filter>Module</Filter> ",
        "    </ClInclude> ",
        "  </ItemGroup>",
        "  <ItemGroup>",
        "  </ItemGroup>",
        "</Project>",
    });

    std::vector<std::string> identifiers;
    for (int run = 0; run < 2; ++run) {
        const testing::ProgramResult result = Run();
        EXPECT_EQ(result.exitCode, 0) << result.output;
        EXPECT_EQ(result.output.find("Tamrivo error"), std::string::npos) << result.output;
        EXPECT_EQ(NewFilters(identifiers), expected) << "run " << run;
        EXPECT_EQ(ReadFile(filters_), oldFilters) << "the old filters file is only read";
    }
    ASSERT_EQ(identifiers.size(), 4u);
    EXPECT_EQ(std::set<std::string>(identifiers.begin(), identifiers.end()).size(), 4u)
        << "within a file and between the runs";
}

TEST_F(FiltersRun, KeepsTheFirstTwoLinesOfTheOldFileAsRead) {
    struct HeadCase {
        const char* name;
        std::string oldFile;
        Lines head;
    };
    const std::vector<HeadCase> cases = {
        {"five lines", "L1\r\nL2\r\nL3\r\nL4\r\nL5\r\n", {"L1", "L2"}},
        {"one line, line end", "L1\r\n", {"L1", ""}},
        {"one line", "L1", {"L1", ""}},
        {"empty", "", {"", ""}},
        {"byte-order mark", "\xEF\xBB\xBFL1\r\nL2", {"\xEF\xBB\xBFL1", "L2"}},
        {"line feeds alone", "L1\nL2\nL3\n", {"L1", "L2"}},
    };
    for (const HeadCase& c : cases) {
        WriteFile(filters_, c.oldFile);
        const testing::ProgramResult result = Run();
        EXPECT_EQ(result.exitCode, 0) << c.name << result.output;
        Lines lines = c.head;
        lines.insert(lines.end(), kEmptyGroups.begin(), kEmptyGroups.end());
        EXPECT_EQ(ReadFile(filters_ + ".new"), CrLfLines(lines)) << c.name;
        EXPECT_EQ(ReadFile(filters_), c.oldFile) << c.name;
    }
}

TEST_F(FiltersRun, AFiltersFileThatIsAFolderGivesNoNewFileAndAFailedRun) {
    boost::filesystem::create_directories(filters_);
    WriteFile(filters_ + ".new", "previous");
    ExpectFailedRun(Run(), "Cannot read the filters file: " + filters_ + " (it is a folder)");
    EXPECT_EQ(ReadFile(filters_ + ".new"), "previous");
}

TEST_F(FiltersRun, NewFiltersFileThatCannotBeCreatedFailsTheRun) {
    WriteFile(filters_, "L1\r\nL2\r\n");
    boost::filesystem::create_directories(filters_ + ".new");
    ExpectFailedRun(Run(), "Cannot create the new filters file: " + filters_ + ".new");
    EXPECT_EQ(ReadFile(filters_), "L1\r\nL2\r\n");
}

}  // namespace
}  // namespace tamrivo
