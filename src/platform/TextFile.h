#pragma once

#include <cstddef>
#include <deque>
#include <initializer_list>
#include <iosfwd>
#include <string>
#include <string_view>

namespace tamrivo {

// Every written line ends in CR LF, on every platform, so that the bytes on disk are the same.
inline constexpr char kLineEnd[] = "\r\n";

// The size of the pieces in which text files are read and written: large enough that the stream's
// per-call cost vanishes, small enough to stay in the cache.
inline constexpr std::size_t TextBufferBytes = std::size_t{1} << 18;

// How a call of ReadTextLineAtMost ended.
enum class LineRead {
    Nothing,       // the stream was at its end or failed: no line
    Complete,      // a line ended by a line feed
    Unterminated,  // the last line of the stream, without a line end
    Cut,           // a line longer than asked for: only its start was kept, its rest not all read
};

// Reads one line without its line end (a CR directly before the LF belongs to the line end), but
// keeps at most most bytes of it: a longer line is cut there, and how much of its rest was read is
// left open.
LineRead ReadTextLineAtMost(std::istream& input, std::string& line, std::size_t most);

// Appends every line of input that ends in a line end, without it (a CR directly before the LF
// belongs to the line end), to lines; a last line without one is not taken but given back. Reads
// in pieces of TextBufferBytes.
std::string ReadCompleteLines(std::istream& input, std::deque<std::string>& lines);

// Writes one line made of the pieces, followed by CR LF, straight into output's stream buffer:
// the one buffer of an output, without the stream's cost per call. A buffer that takes less than
// all of it marks output bad.
void WriteTextPieces(std::ostream& output, std::initializer_list<std::string_view> pieces);

// Writes one line made of the pieces (strings or views), followed by CR LF, as WriteTextPieces.
template <typename... Pieces>
void WriteTextLine(std::ostream& output, const Pieces&... pieces) {
    WriteTextPieces(output, {std::string_view(pieces)...});
}

}  // namespace tamrivo
