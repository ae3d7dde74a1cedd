#include "scan/Classification.h"

#include "scan/PathRules.h"

namespace tamrivo {
namespace {

// The kind whose extension ends the path, if any; the whole string counts, not a file name part.
template <std::size_t N>
std::optional<ProjectItemKind> KindByExtension(const std::string& path,
                                               const std::array<ExtensionKind, N>& table) {
    for (const ExtensionKind& entry : table) {
        const std::string_view extension = entry.extension;
        if (path.size() >= extension.size() &&
            path.compare(path.size() - extension.size(), extension.size(), extension) == 0) {
            return entry.kind;
        }
    }
    return std::nullopt;
}

// Puts "..\..\" in place of everything before the first "Src".
void ReplaceBeforeSrc(std::string& path) {
    const std::size_t marker = path.find("Src");
    if (marker != std::string::npos) {
        path.replace(0, marker, "..\\..\\");
    }
}

}  // namespace

std::vector<std::string>& ListOfKind(SourceInventory& inventory, ProjectItemKind kind) {
    switch (kind) {
        case ProjectItemKind::ClInclude:
            return inventory.headerFiles;
        case ProjectItemKind::ClCompile:
            return inventory.sourceFiles;
        case ProjectItemKind::None:
            break;
    }
    return inventory.otherFiles;
}

const std::vector<std::string>& ListOfKind(const SourceInventory& inventory, ProjectItemKind kind) {
    return ListOfKind(const_cast<SourceInventory&>(inventory), kind);
}

std::string MakeProjectPath(std::string& path) {
    ReplaceBeforeSrc(path);
    return path;
}

void ClassifyScannedPath(std::string& path, SourceInventory& inventory) {
    if (!IsOutsideExcludedFolders(path)) {
        return;
    }
    ReplaceBeforeSrc(path);  // as MakeProjectPath, without the copy of the result
    if (const auto kind = KindByExtension(path, ScanExtensionTable)) {
        ListOfKind(inventory, *kind).push_back(path);
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
