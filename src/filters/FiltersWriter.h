#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "model/LineList.h"
#include "model/SourceInventory.h"

namespace tamrivo {

// Appends the filter definitions, the three assignment groups and "</Project>" to lines (which
// holds the kept head of the old file), every folder, path and filter text escaped for XML, then
// writes every line to output.
void WriteNewFilters(std::ostream& output, LineList& lines, const SourceInventory& inventory,
                     const FolderList& folders);

// The line of a file item that names the filter of the file's folder, escaped for XML.
std::string MakeFilterLine(const std::string& path);

}  // namespace tamrivo
