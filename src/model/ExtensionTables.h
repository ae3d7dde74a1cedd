#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "model/SourceInventory.h"

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

// The kind whose extension ends the path, if any; the whole string counts, not a file name part.
template <std::size_t N>
std::optional<ProjectItemKind> KindByExtension(std::string_view path,
                                               const std::array<ExtensionKind, N>& table) {
    // The last bytes first: one comparison turns most extensions away.
    for (const ExtensionKind& entry : table) {
        if (path.size() >= entry.extension.size() && path.back() == entry.extension.back() &&
            path.substr(path.size() - entry.extension.size()) == entry.extension) {
            return entry.kind;
        }
    }
    return std::nullopt;
}

}  // namespace tamrivo
