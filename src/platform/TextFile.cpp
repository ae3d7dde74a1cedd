#include "platform/TextFile.h"

#include <istream>
#include <ostream>

namespace tamrivo {

LineRead ReadTextLine(std::istream& input, std::string& line) {
    if (!std::getline(input, line)) {
        return LineRead::Nothing;
    }
    if (input.eof()) {
        return LineRead::Unterminated;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return LineRead::Complete;
}

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

void WriteTextLine(std::ostream& output, const std::string& line) {
    output.write(line.data(), static_cast<std::streamsize>(line.size()));
    output.write(kLineEnd, 2);
}

}  // namespace tamrivo
