#pragma once

#include "model/LineList.h"

namespace tamrivo {

// Moves every file item line whose Include value (its predefined XML entities decoded) ends with
// an extension that the tree scan writes out of lines, keeping the other lines in order, and
// appends those decoded values to oldItems in file order. Items of other extensions stay.
void ExtractOldItems(LineList& lines, OldItemList& oldItems);

// Removes every opening marker line that is directly followed by a closing marker line, together
// with that line; the line after an opening marker is never taken as an opening marker itself.
void RemoveEmptyItemGroups(LineList& lines);

}  // namespace tamrivo
