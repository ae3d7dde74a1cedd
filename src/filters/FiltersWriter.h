#pragma once

#include <iosfwd>

#include "model/LineList.h"
#include "model/SourceInventory.h"

namespace tamrivo {

// Writes the new filters file: the kept head of the old file, the filter definitions, the three
// assignment groups and "</Project>", every folder, path and filter text escaped for XML, each
// line as it is made, none of them kept.
void WriteNewFilters(std::ostream& output, const LineList& head, const SourceInventory& inventory,
                     const FolderList& folders);

}  // namespace tamrivo
