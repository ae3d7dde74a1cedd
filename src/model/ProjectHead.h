#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string_view>

#include "model/LineList.h"

namespace tamrivo {

// Where the head ends when no Project start tag is found: after the XML declaration and the start
// tag as Visual Studio writes them, one line each.
inline constexpr std::size_t UsualHeadLineCount = 2;

// How far a scan for the end of the Project start tag has come, carried from line to line.
struct HeadScan {
    enum class Place { Outside, InComment, InStartTag };
    Place place = Place::Outside;
    char quote = '\0';       // the quote of the attribute value the start tag is in, or none
    std::size_t tagEnd = 0;  // where the ">" that ends the start tag stands, once it is found
};

// True when "<Project" stands at pos as a whole element name: followed by a blank, a tab, a
// carriage return, ">" or the end of the line ("<ProjectConfiguration" is another element).
inline bool IsProjectStartTagAt(std::string_view line, std::size_t pos) {
    constexpr std::string_view kStartTag = "<Project";
    if (line.compare(pos, kStartTag.size(), kStartTag) != 0) {
        return false;
    }
    const std::size_t after = pos + kStartTag.size();
    return after == line.size() ||
           std::string_view(" \t\r>").find(line[after]) != std::string_view::npos;
}

// Scans one more line of a project or filters file; true when the Project start tag ends on it,
// at the first ">" outside quotes after a "<Project" that stands outside comments.
inline bool StartTagEndsOn(std::string_view line, HeadScan& scan) {
    constexpr std::string_view kCommentOpen = "<!--";
    constexpr std::string_view kCommentClose = "-->";
    std::size_t pos = 0;
    while (pos < line.size()) {
        if (scan.place == HeadScan::Place::Outside) {
            const std::size_t open = line.find('<', pos);
            if (open == std::string_view::npos) {
                return false;
            }
            if (line.compare(open, kCommentOpen.size(), kCommentOpen) == 0) {
                scan.place = HeadScan::Place::InComment;
                pos = open + kCommentOpen.size();
            } else {
                if (IsProjectStartTagAt(line, open)) {
                    scan.place = HeadScan::Place::InStartTag;
                }
                pos = open + 1;
            }
        } else if (scan.place == HeadScan::Place::InComment) {
            const std::size_t close = line.find(kCommentClose, pos);
            if (close == std::string_view::npos) {
                return false;
            }
            scan.place = HeadScan::Place::Outside;
            pos = close + kCommentClose.size();
        } else {
            const std::size_t mark =
                scan.quote != '\0' ? line.find(scan.quote, pos) : line.find_first_of("\"'>", pos);
            if (mark == std::string_view::npos) {
                return false;
            }
            if (scan.quote == '\0' && line[mark] == '>') {
                scan.tagEnd = mark;
                return true;
            }
            scan.quote = scan.quote != '\0' ? '\0' : line[mark];
            pos = mark + 1;
        }
    }
    return false;
}

// The number of lines of the head, from the first line through the one on which the Project
// start tag ends; none when there is no such start tag or it never ends.
inline std::optional<std::size_t> HeadLineCount(const LineList& lines) {
    HeadScan scan;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        if (StartTagEndsOn(lines[index], scan)) {
            return index + 1;
        }
    }
    return std::nullopt;
}

// What keeps the lines of a project or filters file from being taken as they are: each would give a
// new file that mixes encodings, loses lines or puts the new groups outside the Project element.
enum class TextFault {
    None,
    Utf16,                   // it starts with a UTF-16 byte-order mark
    CarriageReturnLineEnds,  // a CR that is no part of a CR LF: a line end to XML, not here
    ElementEndsOnStartLine,  // "</Project" or "/>" on the start tag's line: no room for groups
    HeadTooLong,             // a line before the start tag's end is longer than what is read
};

// True when text starts with a UTF-16 byte-order mark, FF FE or FE FF (the first also begins
// UTF-32's).
inline bool StartsAsUtf16(std::string_view text) {
    return text.size() >= 2 &&
           ((text[0] == '\xFF' && text[1] == '\xFE') || (text[0] == '\xFE' && text[1] == '\xFF'));
}

// The fault of the lines of a file, read from its start; unterminated is its last line when that
// has no line end and is not among lines.
inline TextFault FaultOfLines(const LineList& lines, std::string_view unterminated = {}) {
    if (StartsAsUtf16(lines.empty() ? unterminated : std::string_view(lines.front()))) {
        return TextFault::Utf16;
    }
    const auto holdsCarriageReturn = [](std::string_view line) {
        return line.find('\r') != std::string_view::npos;
    };
    if (holdsCarriageReturn(unterminated) ||
        std::any_of(lines.begin(), lines.end(), holdsCarriageReturn)) {
        return TextFault::CarriageReturnLineEnds;
    }
    HeadScan scan;
    for (const std::string& line : lines) {
        if (StartTagEndsOn(line, scan)) {
            const bool endsHere = (scan.tagEnd > 0 && line[scan.tagEnd - 1] == '/') ||
                                  line.find("</Project", scan.tagEnd) != std::string::npos;
            return endsHere ? TextFault::ElementEndsOnStartLine : TextFault::None;
        }
    }
    return TextFault::None;
}

}  // namespace tamrivo
