#pragma once

#include <string_view>

#include "model/LineList.h"
#include "model/SourceInventory.h"

namespace tamrivo {

// Moves every file item line whose Include value, decoded as MSBuild reads it (DecodedValue), ends
// with an extension that the tree scan writes out of lines, keeping the other lines in order, and
// appends those decoded values to oldItems in file order. Items of other extensions stay.
void ExtractOldItems(LineList& lines, OldItemList& oldItems);

// Removes every opening marker line that is directly followed by a closing marker line, together
// with that line; the line after an opening marker is never taken as an opening marker itself.
void RemoveEmptyItemGroups(LineList& lines);

// The file items of a whole project text that a run writes anew, one-line or not: each whose
// Include value, decoded as MSBuild reads it, ends with an extension that the tree scan writes, in
// the list of its element's kind, in file order.
SourceInventory ReadRewrittenItems(std::string_view projectText);

}  // namespace tamrivo
