#include "filters/FiltersReader.h"

#include <istream>
#include <string>

#include "platform/TextFile.h"

namespace tamrivo {

// The element that defines a filter (with an Include) or names one (in a file item).
constexpr std::string_view kFilterElement = "Filter";

TextFault ReadFiltersHead(std::istream& input, LineList& lines) {
    lines.clear();
    HeadScan scan;
    std::string line;
    while (lines.size() < FiltersHeadMostLines) {
        const LineRead read = ReadTextLineAtMost(input, line, FiltersHeadMostLineBytes);
        if (read == LineRead::Nothing) {
            break;
        }
        if (read == LineRead::Cut) {
            return TextFault::HeadTooLong;
        }
        lines.push_back(line);
        if (StartTagEndsOn(lines.back(), scan)) {
            return FaultOfLines(lines);
        }
        if (read != LineRead::Complete) {
            break;
        }
    }
    const TextFault fault = FaultOfLines(lines);
    lines.resize(UsualHeadLineCount);
    return fault;
}

OldFilters ReadOldFilters(std::string_view filtersText) {
    const std::vector<XmlElement> elements = ReadXmlElements(filtersText);
    OldFilters filters;
    std::string decoded;
    for (const XmlElement& element : elements) {
        if (element.parent == std::string_view::npos) {
            continue;
        }
        const XmlElement& parent = elements[element.parent];
        if (element.name == kFilterElement && element.include) {
            filters.definitions.push_back({*element.include, std::nullopt});
        } else if (element.name == "UniqueIdentifier" && parent.name == kFilterElement &&
                   parent.include && !filters.definitions.empty()) {
            filters.definitions.back().identifier = std::string(element.text);
        } else if (element.name == kFilterElement && parent.include) {
            filters.assignments.push_back(
                {*parent.include, std::string(DecodedValue(element.text, decoded))});
        }
    }
    return filters;
}

}  // namespace tamrivo
