#pragma once

#include <array>
#include <string>
#include <string_view>

namespace tamrivo {

// The folders of one external component, kept out of the scan wherever they stand in a path.
inline constexpr std::array<std::string_view, 3> ExcludedFolderMarkers = {
    "Src_ThirdParty\\Src_QRX5\\Src_VORN-QRX5\\Releases",
    "Src_ThirdParty\\Src_QRX5\\Src_VORN-QRX5\\Tools",
    "Src_ThirdParty\\Src_QRX5\\Src_VORN-QRX5\\ReviewDocument",
};

// True for a separator of a Windows path: a backslash or a slash.
constexpr bool IsWindowsSeparator(char c) {
    return c == '\\' || c == '/';
}

// Cuts everything through the first "Src" and the one byte after it; returns a copy of the result.
std::string TrimThroughSrc(std::string& path);

// The parent of a path by Windows path rules (slash and backslash separate, drives and network
// names form roots), the same on every platform.
std::string WindowsParentPath(const std::string& path);

// Replaces a path by its parent folder, trimmed through "Src"; returns a copy of the result.
std::string ParentFolderRelativeToSrc(std::string& path);

// What ParentFolderRelativeToSrc makes of a path, as a view into the path, which stays unchanged:
// for callers that only splice the folder text into a line and need no copy of their own.
std::string_view ParentFolderViewRelativeToSrc(const std::string& path);

// True when the path contains none of the excluded folder markers.
bool IsOutsideExcludedFolders(const std::string& path);

}  // namespace tamrivo
