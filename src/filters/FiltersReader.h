#pragma once

#include <cstddef>
#include <iosfwd>

#include "model/LineList.h"

namespace tamrivo {

// The number of leading lines of the old filters file that the new one keeps.
inline constexpr std::size_t FiltersHeaderLineCount = 2;

// Empties lines and fills it with the lines of input; a read that meets the end at once still
// adds an (empty) line. A stream without an open file adds none. True when lines holds a line.
bool ReadFiltersLines(std::istream& input, LineList& lines);

}  // namespace tamrivo
