#include "project/OldItemExtraction.h"

#include <utility>

#include "model/ProjectText.h"
#include "project/ProjectItemLines.h"

namespace tamrivo {

// Equal lines either all match or all do not, so keeping every line that does not match gives
// the same list as removing each matched line's first equal, in one pass.
void ExtractOldItems(LineList& lines, OldItemList& oldItems) {
    LineList kept;
    std::string value;
    for (std::string& line : lines) {
        if (MatchItemLine(line, value)) {
            oldItems.push_back(value);
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

}  // namespace tamrivo
