#pragma once

#include <boost/system/error_code.hpp>
#include <cstddef>
#include <iosfwd>
#include <string>

#include "model/SourceInventory.h"
#include "platform/FolderListing.h"

namespace tamrivo {

// Walks the tree below root in pre-order, appending every folder to folders and every entry of a
// known kind to inventory; access errors go to errorOutput and the walk goes on, and so do
// entries whose names hold a line break, which are left out. A root that cannot be listed (also
// one that is missing or no folder) is not reported here: it is the error returned, and nothing
// is appended. Up to threads threads (the calling one included) walk parts of the tree side by
// side; what the walk gives is the same for any number.
boost::system::error_code WalkSourceTree(const std::string& root, SourceInventory& inventory,
                                         FolderList& folders, std::ostream& errorOutput,
                                         std::size_t threads = WalkThreadCount());

}  // namespace tamrivo
