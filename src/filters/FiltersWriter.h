#pragma once

#include <iosfwd>
#include <string>
#include <unordered_map>

#include "model/LineList.h"
#include "model/SourceInventory.h"
#include "model/XmlElements.h"

namespace tamrivo {

// The identifier texts that filters keep from the old filters file, by filter name.
using KeptIdentifiers = std::unordered_map<std::string, std::string>;

// The identifier text of each filter that the old file defines with one, the first definition of
// a name counting; a text that holds a line break is not kept, since it cannot stand in one line.
KeptIdentifiers IdentifiersToKeep(const OldFilters& oldFilters);

// Writes the new filters file: the kept head of the old file, the filter definitions, the three
// assignment groups and "</Project>", every folder, path and filter text escaped (EscapedValue),
// each line as it is made, none of them kept. A filter named in kept keeps that identifier text;
// every other one gets a fresh identifier.
void WriteNewFilters(std::ostream& output, const LineList& head, const SourceInventory& inventory,
                     const FolderList& folders, const KeptIdentifiers& kept = {});

}  // namespace tamrivo
