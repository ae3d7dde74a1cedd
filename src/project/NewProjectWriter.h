#pragma once

#include <iosfwd>

#include "model/LineList.h"
#include "model/SourceInventory.h"

namespace tamrivo {

// Writes the lines with the None, ClCompile and ClInclude groups after the head (where the
// Project start tag ends; without one, after the first two lines or all lines of a shorter list),
// each entry escaped (EscapedValue), closing the file with "</Project>" when it does not end with
// that.
void WriteNewProject(std::ostream& output, const LineList& lines, const SourceInventory& inventory);

}  // namespace tamrivo
