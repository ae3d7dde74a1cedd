#pragma once

#include <string>

#include "model/LineList.h"
#include "model/SourceInventory.h"

namespace tamrivo {

// Puts "..\..\" in place of everything before the first "Src"; a path without one stays as it is.
std::string MakeProjectPath(std::string& path);

// Files one walk entry, in project path form, into the list of its kind, or into none.
void ClassifyScannedPath(std::string& path, SourceInventory& inventory);

// Files a view of each old item that has a known extension into the list of its kind; the views
// refer to the texts of oldItems.
void ClassifyOldItems(const OldItemList& oldItems, InventoryViews& oldInventory);

}  // namespace tamrivo
