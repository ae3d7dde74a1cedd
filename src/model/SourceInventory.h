#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tamrivo {

// The files of a tree (or of an old project), by kind, each in project path form. Entry is
// std::string where the lists own their texts, std::string_view where they refer to another's.
template <typename Entry>
struct KindLists {
    std::vector<Entry> headerFiles;  // written as ClInclude items
    std::vector<Entry> sourceFiles;  // written as ClCompile items
    std::vector<Entry> otherFiles;   // written as None items
};

// The files of a tree (or of an old project), by kind, each owning its text.
using SourceInventory = KindLists<std::string>;

// Lists of the same kinds that only refer to texts kept elsewhere: the report compares them.
using InventoryViews = KindLists<std::string_view>;

// The source-relative form of every folder of the tree, in walk order.
using FolderList = std::vector<std::string>;

// The three kinds of file item of a project.
enum class ProjectItemKind { ClInclude, ClCompile, None };

// Every kind, in the order of the inventory's lists.
inline constexpr std::array<ProjectItemKind, 3> AllItemKinds = {
    ProjectItemKind::ClInclude, ProjectItemKind::ClCompile, ProjectItemKind::None};

// The element name of a file item of the kind.
constexpr std::string_view ItemElementName(ProjectItemKind kind) {
    switch (kind) {
        case ProjectItemKind::ClInclude:
            return "ClInclude";
        case ProjectItemKind::ClCompile:
            return "ClCompile";
        case ProjectItemKind::None:
            break;
    }
    return "None";
}

// The list of an inventory that holds files of the given kind.
template <typename Entry>
std::vector<Entry>& ListOfKind(KindLists<Entry>& inventory, ProjectItemKind kind) {
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

template <typename Entry>
const std::vector<Entry>& ListOfKind(const KindLists<Entry>& inventory, ProjectItemKind kind) {
    return ListOfKind(const_cast<KindLists<Entry>&>(inventory), kind);
}

}  // namespace tamrivo
