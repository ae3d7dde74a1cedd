#include "project/NewProjectWriter.h"

#include <algorithm>
#include <iterator>
#include <ostream>
#include <string_view>

#include "model/ProjectHead.h"
#include "model/ProjectText.h"
#include "model/XmlText.h"
#include "platform/TextFile.h"

namespace tamrivo {
namespace {

constexpr std::string_view kItemLineEnd = "\" />";

// True when the last line from first on with more than blanks (space, tab, carriage return) is
// "</Project>" with blanks before or after it: a second closing line after it would leave no
// well-formed XML.
bool EndsWithClosingLine(LineList::const_iterator first, LineList::const_iterator last) {
    constexpr std::string_view kBlanks = " \t\r";
    for (auto line = std::make_reverse_iterator(last); line != std::make_reverse_iterator(first);
         ++line) {
        const std::size_t begin = line->find_first_not_of(kBlanks);
        if (begin != std::string::npos) {
            const std::size_t end = line->find_last_not_of(kBlanks);
            return std::string_view(*line).substr(begin, end + 1 - begin) == ProjectClosingLine;
        }
    }
    return false;
}

// Writes one item group of the kind listing entries, last entry first.
void WriteItemGroup(std::ostream& output, ProjectItemKind kind,
                    const std::vector<std::string>& entries) {
    const std::string start = ItemLineStart(kind);
    std::string escaped;
    WriteTextLine(output, ItemGroupOpeningMarker);
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        WriteTextLine(output, start, EscapedValue(*entry, escaped), kItemLineEnd);
    }
    WriteTextLine(output, ItemGroupClosingMarker);
}

}  // namespace

// The lines are written as they go out, not inserted into the list: the groups stand after the
// head in the reverse order of their insertion, None first.
void WriteNewProject(std::ostream& output, const LineList& lines,
                     const SourceInventory& inventory) {
    const auto head =
        lines.begin() + static_cast<LineList::difference_type>(std::min(
                            HeadLineCount(lines).value_or(UsualHeadLineCount), lines.size()));
    for (auto line = lines.begin(); line != head; ++line) {
        WriteTextLine(output, *line);
    }
    for (auto kind = AllItemKinds.rbegin(); kind != AllItemKinds.rend(); ++kind) {
        WriteItemGroup(output, *kind, ListOfKind(inventory, *kind));
    }
    for (auto line = head; line != lines.end(); ++line) {
        WriteTextLine(output, *line);
    }
    if (!EndsWithClosingLine(head, lines.end())) {
        WriteTextLine(output, ProjectClosingLine);
    }
}

}  // namespace tamrivo
