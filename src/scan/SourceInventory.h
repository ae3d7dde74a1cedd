#pragma once

#include <string>
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

}  // namespace tamrivo
