#include "filters/FiltersWriter.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "TestSupport.h"

namespace tamrivo {
namespace {

using testing::CrLfLines;

const std::string kMaskedIdentifierLine =
    "      <UniqueIdentifier>{" + std::string(40, 'x') + "}</UniqueIdentifier> ";

struct Written {
    std::string masked;  // the bytes written, identifiers masked
    std::vector<std::string> identifiers;
    LineList lines;  // the list after the call
};

Written Write(const SourceInventory& inventory, const FolderList& folders) {
    Written written;
    written.lines = {"L1", "L2"};
    std::ostringstream output;
    WriteNewFilters(output, written.lines, inventory, folders);
    written.masked = testing::MaskFilterIdentifiers(output.str(), written.identifiers);
    std::string joined;
    for (const std::string& line : written.lines) {
        joined += line + "\r\n";
    }
    EXPECT_EQ(joined, output.str()) << "the list holds what was written";
    return written;
}

TEST(WriteNewFilters, EmptyListsStillGiveFourGroups) {
    EXPECT_EQ(Write({}, {}).masked,
              CrLfLines({"L1", "L2", "  <ItemGroup>", "  </ItemGroup>", "  <ItemGroup>",
                         "  </ItemGroup>", "  <ItemGroup>", "  </ItemGroup>", "  <ItemGroup>",
                         "  </ItemGroup>", "</Project>"}));
}

TEST(WriteNewFilters, OtherFilesAreWrittenAndSpecialCharactersEscaped) {
    SourceInventory inventory;
    inventory.otherFiles = {"..\\..\\Src\\A&B<\"C>'\\x.s", "D:\\Other\\y.ld"};
    const Written written = Write(inventory, {"A&B<\"C>'", "A&B<\"C>'", ""});
    EXPECT_EQ(written.masked,
              CrLfLines({"L1",
                         "L2",
                         "  <ItemGroup>",
                         "    <Filter Include=\"A&amp;B&lt;&quot;C&gt;'\"> ",
                         kMaskedIdentifierLine,
                         "    </Filter > ",
                         "    <Filter Include=\"A&amp;B&lt;&quot;C&gt;'\"> ",
                         kMaskedIdentifierLine,
                         "    </Filter > ",
                         "    <Filter Include=\"\"> ",
                         kMaskedIdentifierLine,
                         "    </Filter > ",
                         "  </ItemGroup>",
                         "  <ItemGroup>",
                         "  </ItemGroup>",
                         "  <ItemGroup>",
                         "  </ItemGroup>",
                         "  <ItemGroup>",
                         "    <None Include=\"..\\..\\Src\\A&amp;B&lt;&quot;C&gt;'\\x.s\"> ",
                         "      <Filter>A&amp;B&lt;&quot;C&gt;'</Filter> ",
                         "    </None> ",
                         "    <None Include=\"D:\\Other\\y.ld\"> ",
                         "      <Filter>D:\\Other</Filter> ",
                         "    </None> ",
                         "  </ItemGroup>",
                         "</Project>"}));
    const std::set<std::string> distinct(written.identifiers.begin(), written.identifiers.end());
    EXPECT_EQ(distinct.size(), 3u) << "the same folder twice gets two identifiers";
}

TEST(MakeFilterLine, NamesTheFolderAfterSrcAndLeavesThePathAlone) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"..\\..\\Src\\Module\\Sub\\b.c", "      <Filter>Module\\Sub</Filter> "},
        {"..\\..\\Src\\Module\\a.h", "      <Filter>Module</Filter> "},
        {"..\\..\\Src\\main.c", "      <Filter></Filter> "},
        {"D:\\Repo\\x.c", "      <Filter>D:\\Repo</Filter> "},
    };
    for (const auto& [path, line] : cases) {
        const std::string before = path;
        EXPECT_EQ(MakeFilterLine(path), line) << path;
        EXPECT_EQ(path, before);
    }
}

}  // namespace
}  // namespace tamrivo
