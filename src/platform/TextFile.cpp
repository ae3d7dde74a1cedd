#include "platform/TextFile.h"

#include <cstring>
#include <istream>
#include <ostream>
#include <streambuf>
#include <vector>

namespace tamrivo {

LineRead ReadTextLineAtMost(std::istream& input, std::string& line, std::size_t most) {
    line.clear();
    bool ended = false;
    char c = '\0';
    // Up to two bytes more than most: the second may be the carriage return of the line end.
    while (line.size() <= most + 1 && input.get(c)) {
        if (c == '\n') {
            ended = true;
            break;
        }
        line.push_back(c);
    }
    if (ended && !line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    if (line.size() > most) {
        line.resize(most);
        return LineRead::Cut;
    }
    if (ended) {
        return LineRead::Complete;
    }
    return line.empty() ? LineRead::Nothing : LineRead::Unterminated;
}

std::string ReadCompleteLines(std::istream& input, std::deque<std::string>& lines) {
    std::vector<char> piece(TextBufferBytes);
    std::string line;  // what the pieces so far hold of the next line
    while (input.read(piece.data(), static_cast<std::streamsize>(piece.size())) ||
           input.gcount() > 0) {
        const char* begin = piece.data();
        const char* const end = begin + input.gcount();
        while (const auto* feed = static_cast<const char*>(
                   std::memchr(begin, '\n', static_cast<std::size_t>(end - begin)))) {
            line.append(begin, feed);
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            lines.push_back(line);
            line.clear();
            begin = feed + 1;
        }
        line.append(begin, end);
    }
    return line;
}

void WriteTextPieces(std::ostream& output, std::initializer_list<std::string_view> pieces) {
    std::streambuf& buffer = *output.rdbuf();
    bool whole = true;
    for (const std::string_view piece : pieces) {
        const auto size = static_cast<std::streamsize>(piece.size());
        whole = buffer.sputn(piece.data(), size) == size && whole;
    }
    constexpr std::streamsize kLineEndSize = sizeof kLineEnd - 1;
    whole = buffer.sputn(kLineEnd, kLineEndSize) == kLineEndSize && whole;
    if (!whole) {
        output.setstate(std::ios::badbit);
    }
}

}  // namespace tamrivo
