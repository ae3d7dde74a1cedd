#pragma once

#include <boost/system/error_code.hpp>
#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

#include "model/SourceInventory.h"
#include "scan/FolderSource.h"
#include "scan/WalkLimits.h"

namespace tamrivo {

// Decides whether the walk leaves an entry out (a folder is then neither listed nor entered):
// given its path below the root in Windows form (backslash separators, no leading separator) and
// whether its status query found a folder (a link to one included).
using LeftOutOfWalk = std::function<bool(std::string_view pathBelowRoot, bool isFolder)>;

// Walks the tree below root in pre-order, each folder's entries in NTFS order, appending every
// folder to folders and every entry of a known kind to inventory. Entries that cannot be accessed,
// and those whose names cannot stand in the new files, are reported on errorOutput and the walk
// goes on. A root that cannot be listed (also one that is missing or no folder) is not reported
// here: it is the error returned, and nothing is appended. A walk that cannot go on (out of
// memory or handles, the root itself gone) throws boost::system::system_error. With threads
// above one, that many helper threads list folders ahead of the calling one, which walks; what
// the walk gives is the same for any number.
boost::system::error_code WalkSourceTree(const std::string& root, SourceInventory& inventory,
                                         FolderList& folders, std::ostream& errorOutput,
                                         const LeftOutOfWalk& leftOut = {},
                                         std::size_t threads = WalkThreadCount());

// WalkSourceTree over the folders of source, within limits.
boost::system::error_code WalkFolders(FolderSource& source, const std::string& root,
                                      const WalkLimits& limits, const LeftOutOfWalk& leftOut,
                                      SourceInventory& inventory, FolderList& folders,
                                      std::ostream& errorOutput);

}  // namespace tamrivo
