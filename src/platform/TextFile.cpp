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

void WriteTextLine(std::ostream& output, const std::string& line) {
    output.write(line.data(), static_cast<std::streamsize>(line.size()));
    output.write(kLineEnd, 2);
}

}  // namespace tamrivo
