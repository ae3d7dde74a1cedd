#include "project/OldItemExtraction.h"

#include <string_view>
#include <utility>

#include "model/ExtensionTables.h"
#include "model/ProjectText.h"
#include "model/XmlElements.h"
#include "model/XmlText.h"
#include "project/ProjectItemLines.h"

namespace tamrivo {
namespace {

// True when line is a one-line file item whose Include value, decoded as MSBuild reads it, ends
// with an extension that the tree scan writes: an item this tool writes anew. item gets that value;
// decoded is room for the decoding.
bool IsRewrittenItemLine(const std::string& line, std::string& item, std::string& decoded) {
    if (!MatchItemLine(line, item)) {
        return false;
    }
    const std::string_view value = DecodedValue(item, decoded);
    if (!KindByExtension(value, ScanExtensionTable)) {
        return false;
    }
    if (value.data() != item.data()) {
        item.assign(value);
    }
    return true;
}

}  // namespace

// Equal lines are either all taken or all kept, so keeping every line that is not taken gives
// the same list as removing each taken line's first equal, in one pass. A taken line's memory
// takes the next value, so that items cost no allocation of their own.
void ExtractOldItems(LineList& lines, OldItemList& oldItems) {
    LineList kept;
    std::string value;
    std::string decoded;
    for (std::string& line : lines) {
        if (IsRewrittenItemLine(line, value, decoded)) {
            oldItems.push_back(std::move(value));
            value = std::move(line);
        } else {
            kept.push_back(std::move(line));
        }
    }
    lines.swap(kept);
}

void RemoveEmptyItemGroups(LineList& lines) {
    LineList kept;
    std::size_t pos = 0;
    while (pos < lines.size()) {
        if (lines[pos] == ItemGroupOpeningMarker && pos + 1 < lines.size()) {
            if (lines[pos + 1] != ItemGroupClosingMarker) {
                kept.push_back(std::move(lines[pos]));
                kept.push_back(std::move(lines[pos + 1]));
            }
            pos += 2;
        } else {
            kept.push_back(std::move(lines[pos]));
            ++pos;
        }
    }
    lines.swap(kept);
}

SourceInventory ReadRewrittenItems(std::string_view projectText) {
    SourceInventory items;
    for (XmlElement& element : ReadXmlElements(projectText)) {
        for (const ProjectItemKind kind : AllItemKinds) {
            if (element.include && element.name == ItemElementName(kind) &&
                KindByExtension(*element.include, ScanExtensionTable)) {
                ListOfKind(items, kind).push_back(std::move(*element.include));
            }
        }
    }
    return items;
}

}  // namespace tamrivo
