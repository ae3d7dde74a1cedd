#pragma once

#include <iosfwd>

#include "model/LineList.h"
#include "model/SourceInventory.h"

namespace tamrivo {

// Inserts the None, ClCompile and ClInclude groups after the head (where the Project start tag
// ends; without one, after the first two lines or all lines of a shorter list), each entry
// escaped for XML, makes sure the file closes with "</Project>" and writes every line.
void WriteNewProject(std::ostream& output, LineList& lines, const SourceInventory& inventory);

}  // namespace tamrivo
