#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tamrivo {

// The files of a tree (or of an old project), by kind, each in project path form.
struct SourceInventory {
    std::vector<std::string> headerFiles;  // written as ClInclude items
    std::vector<std::string> sourceFiles;  // written as ClCompile items
    std::vector<std::string> otherFiles;   // written as None items
};

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
inline std::vector<std::string>& ListOfKind(SourceInventory& inventory, ProjectItemKind kind) {
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

inline const std::vector<std::string>& ListOfKind(const SourceInventory& inventory,
                                                  ProjectItemKind kind) {
    return ListOfKind(const_cast<SourceInventory&>(inventory), kind);
}

}  // namespace tamrivo
