// The project pipeline on arbitrary bytes: read, extract, remove emptied groups, write into memory.
// Every line that is no item line of the scan's extensions survives in order (only empty groups'
// marker lines may go), and the new file read back yields exactly the items of those extensions
// that were written, decoded, in the writer's order, and keeps the others in its groups.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "model/ExtensionTables.h"
#include "model/ProjectHead.h"
#include "model/ProjectText.h"
#include "model/XmlText.h"
#include "project/NewProjectWriter.h"
#include "project/OldItemExtraction.h"
#include "project/ProjectItemLines.h"

namespace tamrivo {
namespace {

bool IsMarker(const std::string& line) {
    return line == ItemGroupOpeningMarker || line == ItemGroupClosingMarker;
}

LineList WithoutMarkers(const LineList& lines) {
    LineList rest;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(rest),
                 [](const std::string& line) { return !IsMarker(line); });
    return rest;
}

// A small inventory made of the input's first lines, line terminators taken out: a file name
// holds none.
SourceInventory InventoryFrom(const LineList& lines) {
    constexpr std::size_t kMostEntries = 12;
    constexpr ProjectItemKind kKinds[] = {ProjectItemKind::ClInclude, ProjectItemKind::ClCompile,
                                          ProjectItemKind::None};
    SourceInventory inventory;
    for (std::size_t i = 0; i < std::min(lines.size(), kMostEntries); ++i) {
        std::string entry = lines[i];
        entry.erase(std::remove(entry.begin(), entry.end(), '\r'), entry.end());
        ListOfKind(inventory, kKinds[i % 3]).push_back(entry);
    }
    return inventory;
}

// True when the value ends with an extension that the tree scan writes.
bool HasScanExtension(std::string_view value) {
    return KindByExtension(value, ScanExtensionTable).has_value();
}

void CheckPipeline(const std::string& bytes) {
    std::istringstream input(bytes);
    LineList original;
    ReadProjectLines(input, original);

    LineList expectedKept;
    OldItemList expectedItems;
    for (const std::string& line : original) {
        std::string value;
        std::string decoded;
        if (MatchItemLine(line, value) && HasScanExtension(DecodedValue(value, decoded))) {
            expectedItems.emplace_back(DecodedValue(value, decoded));
        } else {
            expectedKept.push_back(line);
        }
    }

    LineList lines = original;
    OldItemList oldItems;
    ExtractOldItems(lines, oldItems);
    FuzzCheck(lines == expectedKept, "a line that is no item line was lost or moved");
    FuzzCheck(oldItems == expectedItems, "the old items are not the item lines' values in order");

    RemoveEmptyItemGroups(lines);
    const std::size_t removed = expectedKept.size() - lines.size();
    FuzzCheck(removed % 2 == 0, "an empty group lost one line only");
    FuzzCheck(WithoutMarkers(lines) == WithoutMarkers(expectedKept),
              "removing empty groups took a line that is no group marker");

    const SourceInventory inventory = InventoryFrom(original);
    std::ostringstream output;
    WriteNewProject(output, lines, inventory);
    const std::string text = output.str();
    for (std::size_t pos = text.find('\n'); pos != std::string::npos;
         pos = text.find('\n', pos + 1)) {
        FuzzCheck(pos > 0 && text[pos - 1] == '\r', "a written line does not end in CR LF");
    }
    FuzzCheck(!text.empty() && text.back() == '\n', "the last written line has no line end");

    std::istringstream again(text);
    LineList reread;
    ReadProjectLines(again, reread);
    // The writer's groups, top to bottom: None, ClCompile, ClInclude, each entry last first.
    // Entries of the scan's extensions are read back decoded; the others stay in their groups.
    OldItemList expectedRereadItems;
    LineList groups;
    std::string escaped;
    for (const ProjectItemKind kind :
         {ProjectItemKind::None, ProjectItemKind::ClCompile, ProjectItemKind::ClInclude}) {
        groups.emplace_back(ItemGroupOpeningMarker);
        const auto& list = ListOfKind(inventory, kind);
        for (auto entry = list.rbegin(); entry != list.rend(); ++entry) {
            if (HasScanExtension(*entry)) {
                expectedRereadItems.push_back(*entry);
            } else {
                groups.push_back(
                    JoinLine({ItemLineStart(kind), EscapedValue(*entry, escaped), "\" />"}));
            }
        }
        groups.emplace_back(ItemGroupClosingMarker);
    }
    OldItemList rereadItems;
    ExtractOldItems(reread, rereadItems);
    FuzzCheck(rereadItems == expectedRereadItems, "the new file does not hold the inventory");

    // What is left is the kept lines with those groups after the head, and a closing line when
    // the kept lines did not end with one.
    const std::size_t head =
        std::min(HeadLineCount(lines).value_or(UsualHeadLineCount), lines.size());
    LineList expectedRest = lines;
    expectedRest.insert(expectedRest.begin() + static_cast<long>(head), groups.begin(),
                        groups.end());
    if (reread.size() == expectedRest.size() + 1) {
        FuzzCheck(reread.back() == ProjectClosingLine, "the line appended is not the closing line");
        reread.pop_back();
    }
    FuzzCheck(reread == expectedRest, "the new file's other lines are not the kept lines");
}

}  // namespace
}  // namespace tamrivo

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tamrivo::CheckPipeline(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
