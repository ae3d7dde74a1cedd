#pragma once

#include <iosfwd>
#include <string>

#include "model/SourceInventory.h"

namespace tamrivo {

// Walks the tree below root in pre-order, appending every folder to folders and every entry of a
// known kind to inventory; access errors go to errorOutput and the walk goes on, and so do
// entries whose names hold a line break, which are left out. Returns a copy of the inventory as
// the walk leaves it.
SourceInventory WalkSourceTree(const std::string& root, SourceInventory& inventory,
                               FolderList& folders, std::ostream& errorOutput);

}  // namespace tamrivo
