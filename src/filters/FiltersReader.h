#pragma once

#include <cstddef>
#include <iosfwd>

#include "model/LineList.h"

namespace tamrivo {

// How much of the filters file is read at most while looking for its head, in lines and in bytes
// of one line: a real head is two short lines, and nothing beyond these bounds costs memory.
inline constexpr std::size_t FiltersHeadMostLines = 64;
inline constexpr std::size_t FiltersHeadMostLineBytes = 64 * 1024;

// Empties lines and fills it with the head of the filters file: its lines through the one on
// which the Project start tag ends, reading no further. When no start tag ends within the first
// FiltersHeadMostLines lines, or before a line longer than FiltersHeadMostLineBytes (kept cut to
// that length; reading stops there), the head is the first two lines, padded with empty lines.
void ReadFiltersHead(std::istream& input, LineList& lines);

}  // namespace tamrivo
