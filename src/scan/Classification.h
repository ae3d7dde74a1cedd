#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "project/LineList.h"
#include "scan/SourceInventory.h"

namespace tamrivo {

// One extension, with its leading dot, and the kind of file it marks.
struct ExtensionKind {
    std::string_view extension;
    ProjectItemKind kind;
};

// The extensions of the files found in the tree.
inline constexpr std::array<ExtensionKind, 18> ScanExtensionTable = {{
    {".h", ProjectItemKind::ClInclude},
    {".hpp", ProjectItemKind::ClInclude},
    {".c", ProjectItemKind::ClCompile},
    {".cpp", ProjectItemKind::ClCompile},
    {".mak", ProjectItemKind::None},
    {".arm", ProjectItemKind::None},
    {".hxm", ProjectItemKind::None},
    {".s", ProjectItemKind::None},
    {".exe", ProjectItemKind::None},
    {".bin", ProjectItemKind::None},
    {".hex", ProjectItemKind::None},
    {".ld", ProjectItemKind::None},
    {".project", ProjectItemKind::None},
    {".xdm", ProjectItemKind::None},
    {".bat", ProjectItemKind::None},
    {".ini", ProjectItemKind::None},
    {".gmk", ProjectItemKind::None},
    {".a", ProjectItemKind::None},
}};

// The extensions by which the old project's items are counted (a smaller table).
inline constexpr std::array<ExtensionKind, 13> OldItemExtensionTable = {{
    {".h", ProjectItemKind::ClInclude},
    {".c", ProjectItemKind::ClCompile},
    {".cpp", ProjectItemKind::ClCompile},
    {".mak", ProjectItemKind::None},
    {".arm", ProjectItemKind::None},
    {".hxm", ProjectItemKind::None},
    {".s", ProjectItemKind::None},
    {".exe", ProjectItemKind::None},
    {".bin", ProjectItemKind::None},
    {".hex", ProjectItemKind::None},
    {".ld", ProjectItemKind::None},
    {".bat", ProjectItemKind::None},
    {".ini", ProjectItemKind::None},
}};

// The list of an inventory that holds files of the given kind.
std::vector<std::string>& ListOfKind(SourceInventory& inventory, ProjectItemKind kind);
const std::vector<std::string>& ListOfKind(const SourceInventory& inventory, ProjectItemKind kind);

// Puts "..\..\" in place of everything before the first "Src"; a path without one stays as it is.
std::string MakeProjectPath(std::string& path);

// Files one walk entry, in project path form, into the list of its kind, or into none.
void ClassifyScannedPath(std::string& path, SourceInventory& inventory);

// Files a copy of each old item that has a known extension into the list of its kind.
void ClassifyOldItems(const OldItemList& oldItems, SourceInventory& oldInventory);

}  // namespace tamrivo
