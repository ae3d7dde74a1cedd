#pragma once

#include <cstddef>
#include <iosfwd>
#include <string_view>

#include "model/LineList.h"
#include "model/ProjectHead.h"
#include "model/XmlElements.h"

namespace tamrivo {

// How much of the filters file is read at most while looking for its head, in lines and in bytes
// of one line: a real head is two short lines, and nothing beyond these bounds costs memory.
inline constexpr std::size_t FiltersHeadMostLines = 64;
inline constexpr std::size_t FiltersHeadMostLineBytes = 16 * 1024 * 1024;

// Empties lines and fills it with the head of the filters file: its lines through the one on
// which the Project start tag ends, reading no further. When no start tag ends within the first
// FiltersHeadMostLines lines, the head is the first two lines, padded with empty lines. Gives
// what keeps the head from being taken as it is: a line longer than FiltersHeadMostLineBytes
// before the start tag's end (reading stops there, as the head would be cut), or a fault of the
// lines read.
TextFault ReadFiltersHead(std::istream& input, LineList& lines);

// The filter definitions of a whole filters text (each filter's name and its UniqueIdentifier's
// text) and the filter that each file item names, names and paths decoded, in file order.
OldFilters ReadOldFilters(std::string_view filtersText);

}  // namespace tamrivo
