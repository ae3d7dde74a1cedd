#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "model/LineList.h"
#include "model/ProjectHead.h"

namespace tamrivo {

// What a file item line of the old project is: a full match of this ECMAScript expression
// (classic "C" character classes). Group 3 is the item's Include value. MatchItemLine answers
// exactly as std::regex_match with this pattern would, without its per-character recursion.
inline constexpr std::string_view ItemLinePattern =
    R"re([[:space:]]+\<(ClInclude|ClCompile|None)[[:space:]]+(Include)[[:punct:]]{1}"(.*)"[[:space:]]+\/>)re";

// Appends every line of input that ends in a line end; a last line without one is not taken.
// Gives what keeps the lines from being taken as they are, looking at that last line too.
TextFault ReadProjectLines(std::istream& input, LineList& lines);

// True when the whole line matches ItemLinePattern; value then receives group 3, else it stays.
bool MatchItemLine(const std::string& line, std::string& value);

}  // namespace tamrivo
