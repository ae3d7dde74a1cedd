#pragma once

#include <sstream>
#include <string>

#include "scan/SourceTreeWalk.h"

namespace tamrivo {

// What one walk of a tree gave.
struct WalkResult {
    SourceInventory inventory;
    FolderList folders;
    std::string errors;
};

// Walks the tree below root into a fresh inventory and folder list.
inline WalkResult Walk(const std::string& root) {
    WalkResult result;
    std::ostringstream errors;
    WalkSourceTree(root, result.inventory, result.folders, errors);
    result.errors = errors.str();
    return result;
}

}  // namespace tamrivo
