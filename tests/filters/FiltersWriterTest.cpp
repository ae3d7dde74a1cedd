#include "filters/FiltersWriter.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <sstream>

#include "TestSupport.h"
#include "model/XmlText.h"

namespace tamrivo {
namespace {

using testing::CrLfLines;

const std::string kMaskedIdentifierLine =
    "      <UniqueIdentifier>{" + std::string(40, 'x') + "}</UniqueIdentifier> ";

struct Written {
    std::string masked;  // the bytes written, identifiers masked
    std::vector<std::string> identifiers;
};

Written Write(const SourceInventory& inventory, const FolderList& folders) {
    Written written;
    std::ostringstream output;
    WriteNewFilters(output, {"L1", "L2"}, inventory, folders);
    written.masked = testing::MaskFilterIdentifiers(output.str(), written.identifiers);
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
                         "    <Filter Include=\"A&amp;B&lt;&quot;C&gt;%27\"> ",
                         kMaskedIdentifierLine,
                         "    </Filter > ",
                         "    <Filter Include=\"A&amp;B&lt;&quot;C&gt;%27\"> ",
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
                         "    <None Include=\"..\\..\\Src\\A&amp;B&lt;&quot;C&gt;%27\\x.s\"> ",
                         "      <Filter>A&amp;B&lt;&quot;C&gt;%27</Filter> ",
                         "    </None> ",
                         "    <None Include=\"D:\\Other\\y.ld\"> ",
                         "      <Filter>D:\\Other</Filter> ",
                         "    </None> ",
                         "  </ItemGroup>",
                         "</Project>"}));
    const std::set<std::string> distinct(written.identifiers.begin(), written.identifiers.end());
    EXPECT_EQ(distinct.size(), 3u) << "the same folder twice gets two identifiers";
}

TEST(EscapedValue, ComesBackThroughDecodedValueAndHoldsNoCharacterThatXmlOrMsBuildReads) {
    const std::string bytes = "&<>\"'\t%;$@()*?a\\\xA6#x9";
    std::mt19937 random(12);
    std::string escapedStorage;
    std::string decodedStorage;
    for (int round = 0; round < 3000; ++round) {
        std::string value(random() % 40, 'x');
        for (char& c : value) {
            c = random() % 3 == 0 ? bytes[random() % bytes.size()] : 'x';
        }
        const std::string escaped(EscapedValue(value, escapedStorage));
        ASSERT_EQ(DecodedValue(escaped, decodedStorage), value) << escaped;
        // What stays: the escapes' own "&", "#", ";" and "%", nothing else of the special bytes.
        std::string rest = escaped;
        for (const std::string_view escape : ValueEscapes) {
            for (std::size_t at;
                 !escape.empty() && (at = rest.find(escape)) != std::string::npos;) {
                rest.erase(at, escape.size());
            }
        }
        ASSERT_EQ(rest.find_first_of("&<>\"'\t%;$@()*?"), std::string::npos) << escaped;
    }
}

}  // namespace
}  // namespace tamrivo
