#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/XmlText.h"

namespace tamrivo {

// One element of a project or filters file, as far as the checks of a run look at it.
struct XmlElement {
    std::string_view name;
    std::optional<std::string> include;  // the Include attribute's value, as MSBuild reads it
    std::string_view text;               // what it holds, as written, when it holds no element
    std::size_t parent = 0;              // the enclosing element's index, npos at the top
};

// What the files of a project keep where: the filters file's definitions and assignments.
struct FilterDefinition {
    std::string name;
    std::optional<std::string>
        identifier;  // the UniqueIdentifier's text as written, braces and all
};
struct FilterAssignment {
    std::string path;
    std::string filter;
};
struct OldFilters {
    std::vector<FilterDefinition> definitions;
    std::vector<FilterAssignment> assignments;
};

namespace xml_detail {

// Where the first of the characters stands at pos or after; the text's size when none does.
inline std::size_t FindAny(std::string_view text, std::size_t pos, std::string_view characters) {
    const std::size_t found = text.find_first_of(characters, pos);
    return found == std::string_view::npos ? text.size() : found;
}

// Where what ends at the first closing after pos ends; the text's size when nothing closes it.
inline std::size_t SkipPast(std::string_view text, std::size_t pos, std::string_view closing) {
    const std::size_t found = text.find(closing, pos);
    return found == std::string_view::npos ? text.size() : found + closing.size();
}

constexpr std::string_view kBlanks = " \t\r\n";

// Reads the attributes of a start tag from pos, keeping Include's; gives where the tag ends and
// whether it closes itself.
inline std::size_t ReadAttributes(std::string_view text, std::size_t pos, XmlElement& element,
                                  bool& selfClosing) {
    std::string decoded;
    while (pos < text.size()) {
        pos = text.find_first_not_of(kBlanks, pos);
        if (pos == std::string_view::npos || text[pos] == '>') {
            break;
        }
        if (text.compare(pos, 2, "/>") == 0) {
            selfClosing = true;
            return pos + 2;
        }
        const std::size_t nameEnd = FindAny(text, pos, " \t\r\n=/>");
        const std::string_view name = text.substr(pos, nameEnd - pos);
        pos = FindAny(text, nameEnd, "\"'>");
        if (pos == text.size() || text[pos] == '>') {
            break;
        }
        const std::size_t valueEnd = FindAny(text, pos + 1, std::string_view(&text[pos], 1));
        if (name == "Include") {
            element.include =
                std::string(DecodedValue(text.substr(pos + 1, valueEnd - pos - 1), decoded));
        }
        pos = valueEnd + 1;
    }
    return pos == std::string_view::npos ? text.size() : pos + 1;
}

}  // namespace xml_detail

// The elements of an XML text in document order, read without a full parser: comments,
// declarations and processing instructions are passed over, and an end tag closes the elements
// opened since its own start tag. Text that is no well-formed XML still gives what it holds.
inline std::vector<XmlElement> ReadXmlElements(std::string_view text) {
    using namespace xml_detail;
    std::vector<XmlElement> elements;
    struct Open {
        std::size_t index;
        std::size_t contentStart;
        bool hasChildren;
    };
    std::vector<Open> open;
    std::size_t pos = text.find('<');
    while (pos < text.size()) {
        if (text.compare(pos, 4, "<!--") == 0) {
            pos = SkipPast(text, pos, "-->");
        } else if (text.compare(pos, 2, "<?") == 0 || text.compare(pos, 2, "<!") == 0) {
            pos = SkipPast(text, pos, ">");
        } else if (text.compare(pos, 2, "</") == 0) {
            const std::size_t nameEnd = FindAny(text, pos + 2, " \t\r\n>");
            const std::string_view name = text.substr(pos + 2, nameEnd - pos - 2);
            while (!open.empty()) {
                const Open closed = open.back();
                open.pop_back();
                if (elements[closed.index].name == name) {
                    if (!closed.hasChildren) {
                        elements[closed.index].text =
                            text.substr(closed.contentStart, pos - closed.contentStart);
                    }
                    break;
                }
            }
            pos = SkipPast(text, pos, ">");
        } else {
            XmlElement element;
            const std::size_t nameEnd = FindAny(text, pos + 1, " \t\r\n/>");
            element.name = text.substr(pos + 1, nameEnd - pos - 1);
            element.parent = open.empty() ? std::string_view::npos : open.back().index;
            if (!open.empty()) {
                open.back().hasChildren = true;
            }
            bool selfClosing = false;
            pos = ReadAttributes(text, nameEnd, element, selfClosing);
            if (!selfClosing) {
                open.push_back({elements.size(), pos, false});
            }
            elements.push_back(std::move(element));
        }
        pos = text.find('<', pos);
    }
    return elements;
}

}  // namespace tamrivo
