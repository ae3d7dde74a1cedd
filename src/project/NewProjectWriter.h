#pragma once

#include <iosfwd>

#include "model/LineList.h"
#include "model/SourceInventory.h"

namespace tamrivo {

// Inserts the None, ClCompile and ClInclude groups after the first two lines (after all lines
// of a shorter list), makes sure the file closes with "</Project>" and writes every line.
void WriteNewProject(std::ostream& output, LineList& lines, const SourceInventory& inventory);

}  // namespace tamrivo
