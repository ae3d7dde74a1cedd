#pragma once

#include <string>
#include <string_view>

#include "model/LineList.h"
#include "model/SourceInventory.h"

namespace tamrivo {

// The lines that mark an item group without attributes, in both files.
inline constexpr std::string_view ItemGroupOpeningMarker = "  <ItemGroup>";
inline constexpr std::string_view ItemGroupClosingMarker = "  </ItemGroup>";

// The closing line of a project or filters file.
inline constexpr std::string_view ProjectClosingLine = "</Project>";

// The folder name from which paths count: the source folder.
inline constexpr std::string_view SrcMarker = "Src";

// What stands before "Src" in a path as the project files write it: the project lies two levels
// below the folder that holds the source folder.
inline constexpr std::string_view ProjectPathPrefix = "..\\..\\";

// The start of a file item's opening tag of the kind, indented as an item of a group, up to and
// including the opening quote of its Include value.
inline std::string ItemLineStart(ProjectItemKind kind) {
    return JoinLine({"    <", ItemElementName(kind), " Include=\""});
}

}  // namespace tamrivo
