#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tamrivo {

// Inputs with their expected results. The Windows build also checks every input against the
// path library's own parent_path on Windows.
using PathCases = std::vector<std::pair<std::string, std::string>>;

// Paths and the parent folder of each, trimmed through "Src".
inline const PathCases kParentFolderRelativeToSrcCases = {
    {"..\\..\\Src\\App\\Core\\main.c", "App\\Core"},
    {"..\\..\\Src\\main.c", ""},
    {"C:\\proj\\code\\main.c", "C:\\proj\\code"},
    {"main.c", ""},
    {"C:\\main.c", "C:\\"},
    {"D:\\Repo\\Src\\Prj\\App.vcxproj.filters", "Prj"},
    {"D:\\Repo\\Prj\\App.vcxproj.filters", "D:\\Repo\\Prj"},
    {"..\\..\\SrcMain.c", "..\\.."},
    {"Prj/App.vcxproj.filters.new", "Prj"},
};

// Paths and their parents by Windows path rules.
inline const PathCases kWindowsParentPathCases = {
    {"C:\\main.c", "C:\\"},
    {"C:main.c", "C:"},
    {"..\\..\\Src\\App\\main.c", "..\\..\\Src\\App"},
    {"C:\\a\\b\\", "C:\\a\\b"},
    {"\\\\host\\share\\x", "\\\\host\\share"},
    {"\\\\host\\x", "\\\\host\\"},
    {"a/b\\c", "a/b"},
    {"a\\\\\\b", "a"},
    {"C:\\", "C:"},
    {"C:", ""},
    {"\\", ""},
    {"\\x", "\\"},
    {"main.c", ""},
    {"", ""},
    {"/home/u/Repo/Src\\App\\main.c", "/home/u/Repo/Src\\App"},
    {"Prj/App.vcxproj.filters.new", "Prj"},
};

}  // namespace tamrivo
