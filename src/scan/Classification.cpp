#include "scan/Classification.h"

#include "model/ExtensionTables.h"
#include "model/ProjectText.h"
#include "scan/PathRules.h"

namespace tamrivo {

std::string MakeProjectPath(std::string& path) {
    const std::size_t marker = path.find(SrcMarker);
    if (marker != std::string::npos) {
        path.replace(0, marker, ProjectPathPrefix);
    }
    return path;
}

// The extension lies after the "Src" that the project path form keeps (no extension holds a
// capital S), so the scanned path tells the kind, and an entry of no known kind costs nothing more.
void ClassifyScannedPath(std::string& path, SourceInventory& inventory) {
    const auto kind = KindByExtension(path, ScanExtensionTable);
    if (kind && IsOutsideExcludedFolders(path)) {
        ListOfKind(inventory, *kind).push_back(MakeProjectPath(path));
    }
}

void ClassifyOldItems(const OldItemList& oldItems, InventoryViews& oldInventory) {
    for (const std::string& item : oldItems) {
        if (const auto kind = KindByExtension(item, OldItemExtensionTable)) {
            ListOfKind(oldInventory, *kind).push_back(item);
        }
    }
}

}  // namespace tamrivo
