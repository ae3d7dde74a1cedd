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

    bool operator==(const WalkResult& other) const {
        return inventory.headerFiles == other.inventory.headerFiles &&
               inventory.sourceFiles == other.inventory.sourceFiles &&
               inventory.otherFiles == other.inventory.otherFiles && folders == other.folders &&
               errors == other.errors;
    }
};

// Walks the tree below root into a fresh inventory and folder list.
inline WalkResult Walk(const std::string& root, std::size_t threads = WalkThreadCount()) {
    WalkResult result;
    std::ostringstream errors;
    WalkSourceTree(root, result.inventory, result.folders, errors, {}, threads);
    result.errors = errors.str();
    return result;
}

}  // namespace tamrivo
