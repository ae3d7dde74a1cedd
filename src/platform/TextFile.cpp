#include "platform/TextFile.h"

#include <istream>
#include <ostream>

namespace tamrivo {
namespace {

// Large enough that the stream's per-call cost vanishes, small enough to stay in the cache.
constexpr std::size_t kTextBufferBytes = std::size_t{1} << 18;

}  // namespace

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

void AppendTextLine(TextLineBuffer& buffer, std::initializer_list<std::string_view> pieces) {
    for (const std::string_view piece : pieces) {
        buffer.text.append(piece.data(), piece.size());
    }
    buffer.text.append(kLineEnd, 2);
    if (buffer.text.size() >= kTextBufferBytes) {
        FlushTextLines(buffer);
    }
}

void FlushTextLines(TextLineBuffer& buffer) {
    buffer.output.write(buffer.text.data(), static_cast<std::streamsize>(buffer.text.size()));
    buffer.text.clear();
}

}  // namespace tamrivo
