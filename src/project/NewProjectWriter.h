#pragma once

#include <iosfwd>

#include "model/LineList.h"
#include "model/SourceInventory.h"

namespace tamrivo {

// Writes the lines with the None, ClCompile and ClInclude groups after the first two (after all
// lines of a shorter list), closing the file with "</Project>" when its last line is not that.
void WriteNewProject(std::ostream& output, const LineList& lines, const SourceInventory& inventory);

}  // namespace tamrivo
