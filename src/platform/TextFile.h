#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>

namespace tamrivo {

// Every written line ends in CR LF, on every platform, so that the bytes on disk are the same.
inline constexpr char kLineEnd[] = "\r\n";

// How a call of ReadTextLine ended.
enum class LineRead {
    Nothing,       // the stream was at its end or failed: no line
    Complete,      // a line ended by a line feed
    Unterminated,  // the last line of the stream, without a line end
    Cut,           // a line longer than asked for: only its start was kept, its rest not all read
};

// Reads one line without its line end; a CR directly before the LF belongs to the line end.
LineRead ReadTextLine(std::istream& input, std::string& line);

// Reads one line as ReadTextLine does, but keeps at most most bytes of it: a longer line is cut
// there, and how much of its rest was read is left open.
LineRead ReadTextLineAtMost(std::istream& input, std::string& line, std::size_t most);

// Writes one line followed by CR LF.
void WriteTextLine(std::ostream& output, const std::string& line);

}  // namespace tamrivo
