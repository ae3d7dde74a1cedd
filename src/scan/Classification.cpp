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

void ClassifyScannedPath(std::string& path, SourceInventory& inventory) {
    if (!IsOutsideExcludedFolders(path)) {
        return;
    }
    std::string projectPath = MakeProjectPath(path);
    if (const auto kind = KindByExtension(projectPath, ScanExtensionTable)) {
        ListOfKind(inventory, *kind).push_back(std::move(projectPath));
    }
}

void ClassifyOldItems(const OldItemList& oldItems, SourceInventory& oldInventory) {
    for (const std::string& item : oldItems) {
        if (const auto kind = KindByExtension(item, OldItemExtensionTable)) {
            ListOfKind(oldInventory, *kind).push_back(item);
        }
    }
}

}  // namespace tamrivo
