#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

#include "project/LineList.h"
#include "scan/SourceInventory.h"

namespace tamrivo {

// The closing line of a project file.
inline constexpr char ProjectClosingLine[] = "</Project>";

// Inserts at position one item group of the kind listing entries, last entry first.
void InsertItemGroup(LineList& lines, std::size_t position, ProjectItemKind kind,
                     const std::vector<std::string>& entries);

// Inserts the None, ClCompile and ClInclude groups after the first two lines (after all lines
// of a shorter list), makes sure the file closes with "</Project>" and writes every line.
void WriteNewProject(std::ostream& output, LineList& lines, const SourceInventory& inventory);

}  // namespace tamrivo
