#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "project/LineList.h"
#include "scan/SourceInventory.h"

namespace tamrivo {

// Appends the filter definitions, the three assignment groups and "</Project>" to lines (which
// holds the kept head of the old file), then writes every line to output.
void WriteNewFilters(std::ostream& output, LineList& lines, const SourceInventory& inventory,
                     const FolderList& folders);

// Appends the item group that defines one filter, with a fresh identifier, per folder.
void AppendFilterDefinitions(LineList& lines, const FolderList& folders);

// Appends the item group that assigns each of files, as an item of kind, to its folder's filter.
void AppendFilterAssignments(LineList& lines, const std::vector<std::string>& files,
                             ProjectItemKind kind);

// The first line of a filter definition for a folder.
std::string MakeFilterIncludeLine(const std::string& folder);

// The line of a filter definition that holds a fresh identifier.
std::string MakeUniqueIdentifierLine();

// The line of a file item that names the filter of the file's folder.
std::string MakeFilterLine(const std::string& path);

}  // namespace tamrivo
