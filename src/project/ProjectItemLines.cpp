#include "project/ProjectItemLines.h"

#include <istream>

#include "model/SourceInventory.h"
#include "platform/TextFile.h"

namespace tamrivo {
namespace {

constexpr std::size_t kNoMatch = std::string::npos;

// [[:space:]] of the classic "C" locale.
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// [[:punct:]] of the classic "C" locale: printable ASCII that is no letter, digit or blank.
bool IsPunct(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return (u >= '!' && u <= '/') || (u >= ':' && u <= '@') || (u >= '[' && u <= '`') ||
           (u >= '{' && u <= '~');
}

// Each AfterX below gives the position after its piece when the piece stands at pos, else
// kNoMatch; a pos of kNoMatch gives kNoMatch, so that the pieces chain.

// One or more white-space characters.
std::size_t AfterSpaces(const std::string& line, std::size_t pos) {
    const std::size_t start = pos;
    while (pos < line.size() && IsSpace(line[pos])) {
        ++pos;
    }
    return pos == start ? kNoMatch : pos;
}

// A fixed text.
std::size_t AfterWord(const std::string& line, std::size_t pos, std::string_view word) {
    if (pos == kNoMatch || line.compare(pos, word.size(), word) != 0) {
        return kNoMatch;
    }
    return pos + word.size();
}

// One of the three element names; none is a prefix of another, so at most one stands at pos.
std::size_t AfterKindName(const std::string& line, std::size_t pos) {
    for (const ProjectItemKind kind : AllItemKinds) {
        const std::size_t after = AfterWord(line, pos, ItemElementName(kind));
        if (after != kNoMatch) {
            return after;
        }
    }
    return kNoMatch;
}

// Exactly one punctuation character.
std::size_t AfterPunctuation(const std::string& line, std::size_t pos) {
    return pos < line.size() && IsPunct(line[pos]) ? pos + 1 : kNoMatch;
}

// Where the value starts, after the pieces before it; kNoMatch when the line does not begin
// like an item line. Each piece's characters differ from the first character of the piece after
// it, so the one-or-more runs take all they can and no other split exists.
std::size_t ValueBegin(const std::string& line) {
    std::size_t pos = AfterWord(line, AfterSpaces(line, 0), "<");
    pos = AfterWord(line, AfterSpaces(line, AfterKindName(line, pos)), "Include");
    return AfterWord(line, AfterPunctuation(line, pos), "\"");
}

}  // namespace

TextFault ReadProjectLines(std::istream& input, LineList& lines) {
    const std::string unterminated = ReadCompleteLines(input, lines);
    return FaultOfLines(lines, unterminated);
}

bool MatchItemLine(const std::string& line, std::string& value) {
    const std::size_t valueBegin = ValueBegin(line);
    // The tail is a quote, white space and "/>" at the very end. White space holds no quote, so
    // the value ends at the quote before the line's closing white-space run: the only split
    // that the greedy group can end in.
    constexpr std::string_view kTail = "/>";
    if (valueBegin == kNoMatch || line.size() < valueBegin + 2 + kTail.size() ||
        line.compare(line.size() - kTail.size(), kTail.size(), kTail) != 0) {
        return false;
    }
    const std::size_t tailBegin = line.size() - kTail.size();
    std::size_t spaceBegin = tailBegin;
    while (spaceBegin > valueBegin && IsSpace(line[spaceBegin - 1])) {
        --spaceBegin;
    }
    if (spaceBegin == tailBegin || spaceBegin == valueBegin || line[spaceBegin - 1] != '"') {
        return false;
    }
    const std::string_view text(line.data() + valueBegin, spaceBegin - 1 - valueBegin);
    // '.' takes every character but the two line terminators.
    if (text.find('\n') != std::string_view::npos || text.find('\r') != std::string_view::npos) {
        return false;
    }
    value.assign(text);
    return true;
}

}  // namespace tamrivo
