#include "platform/TextFile.h"

#include <algorithm>
#include <cstring>
#include <istream>
#include <ostream>
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

void ReadCompleteLines(std::istream& input, std::deque<std::string>& lines) {
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
}

void WriteTextLine(std::ostream& output, const std::string& line) {
    output.write(line.data(), static_cast<std::streamsize>(line.size()));
    output.write(kLineEnd, 2);
}

void AppendTextLine(TextLineBuffer& buffer, std::initializer_list<std::string_view> pieces) {
    std::size_t size = sizeof kLineEnd - 1;
    for (const std::string_view piece : pieces) {
        size += piece.size();
    }
    if (buffer.used + size > buffer.text.size()) {
        FlushTextLines(buffer);
        if (size > TextBufferBytes) {
            // A line longer than the buffer goes out on its own.
            for (const std::string_view piece : pieces) {
                buffer.output.write(piece.data(), static_cast<std::streamsize>(piece.size()));
            }
            buffer.output.write(kLineEnd, sizeof kLineEnd - 1);
            return;
        }
        buffer.text.resize(TextBufferBytes);
    }
    // Copied piece by piece into room made once: no growth checks per piece.
    char* at = &buffer.text[buffer.used];
    for (const std::string_view piece : pieces) {
        at = std::copy_n(piece.data(), piece.size(), at);
    }
    std::copy_n(kLineEnd, sizeof kLineEnd - 1, at);
    buffer.used += size;
}

void FlushTextLines(TextLineBuffer& buffer) {
    buffer.output.write(buffer.text.data(), static_cast<std::streamsize>(buffer.used));
    buffer.used = 0;
}

}  // namespace tamrivo
