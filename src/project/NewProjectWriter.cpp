#include "project/NewProjectWriter.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "model/ProjectHead.h"
#include "model/ProjectText.h"
#include "model/XmlText.h"
#include "platform/TextFile.h"

namespace tamrivo {
namespace {

constexpr std::string_view kItemLineEnd = "\" />";

// True when the last line with more than blanks (space, tab, carriage return) is "</Project>"
// with blanks before or after it: a second closing line after it would leave no well-formed XML.
bool EndsWithClosingLine(const LineList& lines) {
    constexpr std::string_view kBlanks = " \t\r";
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        const std::size_t first = line->find_first_not_of(kBlanks);
        if (first != std::string::npos) {
            const std::size_t last = line->find_last_not_of(kBlanks);
            return std::string_view(*line).substr(first, last + 1 - first) == ProjectClosingLine;
        }
    }
    return false;
}

// Inserts at position one item group of the kind listing entries, last entry first.
void InsertItemGroup(LineList& lines, std::size_t position, ProjectItemKind kind,
                     const std::vector<std::string>& entries) {
    const std::string start = ItemLineStart(kind);
    std::string escaped;
    std::vector<std::string> group;
    group.reserve(entries.size() + 2);
    group.emplace_back(ItemGroupOpeningMarker);
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        group.push_back(JoinLine({start, XmlEscaped(*entry, escaped), kItemLineEnd}));
    }
    group.emplace_back(ItemGroupClosingMarker);
    lines.insert(lines.begin() + static_cast<LineList::difference_type>(position),
                 std::make_move_iterator(group.begin()), std::make_move_iterator(group.end()));
}

}  // namespace

void WriteNewProject(std::ostream& output, LineList& lines, const SourceInventory& inventory) {
    const std::size_t position =
        std::min(HeadLineCount(lines).value_or(UsualHeadLineCount), lines.size());
    for (const ProjectItemKind kind : AllItemKinds) {
        InsertItemGroup(lines, position, kind, ListOfKind(inventory, kind));
    }
    if (!EndsWithClosingLine(lines)) {
        lines.emplace_back(ProjectClosingLine);
    }
    for (const std::string& line : lines) {
        WriteTextLine(output, line);
    }
}

}  // namespace tamrivo
