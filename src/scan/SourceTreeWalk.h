#pragma once

#include <iosfwd>
#include <string>

#include "model/SourceInventory.h"

namespace tamrivo {

// The order in which Windows lists a folder on NTFS: bytes compared with a-z taken as A-Z,
// names equal in that comparison then by their plain bytes.
bool NtfsNameLess(const std::string& left, const std::string& right);

// Walks the tree below root in pre-order, appending every folder to folders and every entry of a
// known kind to inventory; access errors go to errorOutput and the walk goes on, and so do
// entries whose names hold a line break, which are left out. Returns a copy of the inventory as
// the walk leaves it.
SourceInventory WalkSourceTree(const std::string& root, SourceInventory& inventory,
                               FolderList& folders, std::ostream& errorOutput);

}  // namespace tamrivo
