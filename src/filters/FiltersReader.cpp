#include "filters/FiltersReader.h"

#include <istream>
#include <string>

#include "model/ProjectHead.h"
#include "platform/TextFile.h"

namespace tamrivo {

void ReadFiltersHead(std::istream& input, LineList& lines) {
    lines.clear();
    HeadScan scan;
    std::string line;
    while (lines.size() < FiltersHeadMostLines) {
        const LineRead read = ReadTextLineAtMost(input, line, FiltersHeadMostLineBytes);
        if (read == LineRead::Nothing) {
            break;
        }
        lines.push_back(line);
        if (StartTagEndsOn(lines.back(), scan)) {
            return;
        }
        if (read != LineRead::Complete) {
            break;
        }
    }
    lines.resize(UsualHeadLineCount);
}

}  // namespace tamrivo
