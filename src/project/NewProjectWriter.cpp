#include "project/NewProjectWriter.h"

#include <algorithm>
#include <iterator>
#include <ostream>
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

// True when the last line from first on with more than blanks is "</Project>", blanks after it
// allowed: a second closing line after such a file's last lines would leave it no well-formed XML.
bool EndsWithClosingLine(LineList::const_iterator first, LineList::const_iterator last) {
    for (auto line = std::make_reverse_iterator(last); line != std::make_reverse_iterator(first);
         ++line) {
        const auto content = std::find_if_not(line->rbegin(), line->rend(), IsTrailingBlank);
        if (content != line->rend()) {
            const auto length = static_cast<std::size_t>(content.base() - line->begin());
            return std::string_view(line->data(), length) == ProjectClosingLine;
        }
    }
    return false;
}

// Writes one item group of the kind listing entries, last entry first.
void WriteItemGroup(TextLineBuffer& text, ProjectItemKind kind,
                    const std::vector<std::string>& entries) {
    const std::string start = ItemLineStart(kind);
    AppendTextLine(text, {ItemGroupOpeningMarker});
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        AppendTextLine(text, {start, *entry, kItemLineEnd});
    }
    AppendTextLine(text, {ItemGroupClosingMarker});
}

}  // namespace

// The lines are written as they go out, not inserted into the list: the groups stand after the
// head in the reverse order of their insertion, None first.
void WriteNewProject(std::ostream& output, const LineList& lines,
                     const SourceInventory& inventory) {
    const auto head = lines.begin() + static_cast<LineList::difference_type>(
                                          std::min(kHeadLineCount, lines.size()));
    TextLineBuffer text{output, {}};
    for (auto line = lines.begin(); line != head; ++line) {
        AppendTextLine(text, {*line});
    }
    for (const ProjectItemKind kind :
         {ProjectItemKind::None, ProjectItemKind::ClCompile, ProjectItemKind::ClInclude}) {
        WriteItemGroup(text, kind, ListOfKind(inventory, kind));
    }
    for (auto line = head; line != lines.end(); ++line) {
        AppendTextLine(text, {*line});
    }
    if (!EndsWithClosingLine(head, lines.end())) {
        AppendTextLine(text, {ProjectClosingLine});
    }
    FlushTextLines(text);
}

}  // namespace tamrivo
