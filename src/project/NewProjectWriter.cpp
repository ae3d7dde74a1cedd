#include "project/NewProjectWriter.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "model/ProjectText.h"
#include "platform/TextFile.h"

namespace tamrivo {
namespace {

// The item groups follow the file's head: the XML declaration and the opening project element.
constexpr std::size_t kHeadLineCount = 2;

constexpr std::string_view kItemLineEnd = "\" />";

// White space that XML allows after the closing element.
bool IsTrailingBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// True when the last line with more than blanks is "</Project>", blanks after it allowed: a
// second closing line after such a file's last lines would leave it no well-formed XML.
bool EndsWithClosingLine(const LineList& lines) {
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        const auto content = std::find_if_not(line->rbegin(), line->rend(), IsTrailingBlank);
        if (content != line->rend()) {
            const auto length = static_cast<std::size_t>(content.base() - line->begin());
            return std::string_view(line->data(), length) == ProjectClosingLine;
        }
    }
    return false;
}

// Inserts at position one item group of the kind listing entries, last entry first.
void InsertItemGroup(LineList& lines, std::size_t position, ProjectItemKind kind,
                     const std::vector<std::string>& entries) {
    const std::string start = ItemLineStart(kind);
    std::vector<std::string> group;
    group.reserve(entries.size() + 2);
    group.emplace_back(ItemGroupOpeningMarker);
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        group.push_back(JoinLine({start, *entry, kItemLineEnd}));
    }
    group.emplace_back(ItemGroupClosingMarker);
    lines.insert(lines.begin() + static_cast<LineList::difference_type>(position),
                 std::make_move_iterator(group.begin()), std::make_move_iterator(group.end()));
}

}  // namespace

void WriteNewProject(std::ostream& output, LineList& lines, const SourceInventory& inventory) {
    const std::size_t position = std::min(kHeadLineCount, lines.size());
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
