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

TEST(XmlEscaped, EscapesEveryByteWhereverItStands) {
    // Bytes that are escaped, that are not, and that differ from an escaped one in the top bit
    // only, at every place of values longer and shorter than the eight bytes looked at at once.
    const std::string bytes = "&<>\"'a\\\xA6\xBC\xBE\xA2\x80";
    std::mt19937 random(12);
    std::string storage;
    for (int round = 0; round < 3000; ++round) {
        std::string value(random() % 40, 'x');
        for (char& c : value) {
            c = random() % 3 == 0 ? bytes[random() % bytes.size()] : 'x';
        }
        std::string expected;
        for (const char c : value) {
            const XmlEntity* entity = EscapingEntity(c);
            expected += entity == nullptr ? std::string(1, c) : std::string(entity->reference);
        }
        ASSERT_EQ(XmlEscaped(value, storage), expected) << value;
    }
}

}  // namespace
}  // namespace tamrivo
