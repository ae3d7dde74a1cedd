#pragma once

#include <optional>
#include <string>

#include "model/LineList.h"
#include "model/SourceInventory.h"

namespace tamrivo {

// Puts "..\..\" in place of everything before the first "Src"; a path without one stays as it is.
std::string MakeProjectPath(std::string& path);

// The kind of list a walk entry goes into, with path turned into project path form; none for an
// entry of no known kind or inside the excluded folders, whose path stays as it is.
std::optional<ProjectItemKind> ClassifyScannedPath(std::string& path);

// Files a view of each old item that has a known extension into the list of its kind; the views
// refer to the texts of oldItems.
void ClassifyOldItems(const OldItemList& oldItems, InventoryViews& oldInventory);

}  // namespace tamrivo
