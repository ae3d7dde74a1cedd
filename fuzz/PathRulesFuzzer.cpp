// The path rules and the classification on arbitrary strings: no crash, and what holds by
// definition: trimming keeps a suffix, the parent is a prefix, the project path form keeps the
// extension, a path gets at most one kind and the old items' kinds agree with the tree's.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "model/ExtensionTables.h"
#include "scan/Classification.h"
#include "scan/PathRules.h"

namespace tamrivo {
namespace {

bool StartsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// The kind whose extension ends the path; no extension of a table ends another one.
template <std::size_t N>
std::optional<ProjectItemKind> KindOf(const std::string& path,
                                      const std::array<ExtensionKind, N>& table) {
    std::optional<ProjectItemKind> kind;
    for (const ExtensionKind& entry : table) {
        if (EndsWith(path, entry.extension)) {
            FuzzCheck(!kind, "two extensions of one table end the same path");
            kind = entry.kind;
        }
    }
    return kind;
}

std::size_t EntryCount(const SourceInventory& inventory) {
    return inventory.headerFiles.size() + inventory.sourceFiles.size() +
           inventory.otherFiles.size();
}

void CheckTrimAndParent(const std::string& path) {
    std::string trimmed = path;
    FuzzCheck(TrimThroughSrc(trimmed) == trimmed,
              "TrimThroughSrc gives another string than it leaves");
    FuzzCheck(EndsWith(path, trimmed), "the trimmed string is no suffix of the path");
    FuzzCheck((path.find("Src") == std::string::npos) == (trimmed == path),
              "a path was trimmed without Src, or not trimmed with it");

    const std::string parent = WindowsParentPath(path);
    FuzzCheck(StartsWith(path, parent), "the parent is no prefix of the path");
    FuzzCheck(path.empty() || parent.size() < path.size(),
              "the parent is not shorter than the path");
    // What the parent leaves is separators and the last element, which holds none; only a root
    // name alone (such as \\?\x) is an element with separators, and its parent is empty.
    const std::string_view rest = std::string_view(path).substr(parent.size());
    const auto element = std::find_if_not(rest.begin(), rest.end(), IsSeparator);
    FuzzCheck(parent.empty() || std::none_of(element, rest.end(), IsSeparator),
              "the parent left more than one element");

    std::string relative = path;
    FuzzCheck(ParentFolderRelativeToSrc(relative) == relative,
              "ParentFolderRelativeToSrc gives another string than it leaves");
    std::string trimmedParent = parent;
    FuzzCheck(relative == TrimThroughSrc(trimmedParent),
              "ParentFolderRelativeToSrc is not the parent trimmed through Src");
}

void CheckExclusion(const std::string& path, const std::string& trimmed) {
    const bool outside = IsOutsideExcludedFolders(path);
    FuzzCheck(!outside || IsOutsideExcludedFolders(trimmed),
              "a part of an outside path is excluded");
    FuzzCheck(outside || !IsOutsideExcludedFolders(path + path),
              "a longer excluded path is outside");
    for (const std::string_view marker : ExcludedFolderMarkers) {
        FuzzCheck(!IsOutsideExcludedFolders(path + std::string(marker)), "a marker was not seen");
        FuzzCheck(!IsOutsideExcludedFolders(std::string(marker) + path), "a marker was not seen");
    }
}

void CheckClassification(const std::string& path) {
    std::string projectPath = path;
    FuzzCheck(MakeProjectPath(projectPath) == projectPath,
              "MakeProjectPath gives another string than it leaves");
    const std::size_t marker = path.find("Src");
    if (marker == std::string::npos) {
        FuzzCheck(projectPath == path, "a path without Src changed its form");
    } else {
        FuzzCheck(StartsWith(projectPath, "..\\..\\Src"), "the project path form has no prefix");
        FuzzCheck(EndsWith(projectPath, std::string_view(path).substr(marker)),
                  "the project path form lost the path from its Src on");
    }
    for (const ExtensionKind& entry : ScanExtensionTable) {
        FuzzCheck(EndsWith(path, entry.extension) == EndsWith(projectPath, entry.extension),
                  "the project path form changed the extension");
    }

    SourceInventory inventory;
    std::string scanned = path;
    ClassifyScannedPath(scanned, inventory);
    const auto kind = KindOf(path, ScanExtensionTable);
    if (!IsOutsideExcludedFolders(path) || !kind) {
        FuzzCheck(EntryCount(inventory) == 0, "an excluded or unknown path entered the inventory");
    } else {
        FuzzCheck(EntryCount(inventory) == 1 &&
                      ListOfKind(inventory, *kind) == std::vector<std::string>{projectPath},
                  "a scanned path did not enter its kind's list in project path form");
    }
}

// The input's lines as old items: each entry enters the list of its kind unchanged, in order,
// and a kind the old items' table gives is the kind the tree's table gives.
void CheckOldItems(const std::string& text) {
    OldItemList items;
    for (std::size_t begin = 0; begin <= text.size();) {
        const std::size_t end = std::min(text.find('\n', begin), text.size());
        items.push_back(text.substr(begin, end - begin));
        begin = end + 1;
    }
    InventoryViews classified;
    ClassifyOldItems(items, classified);

    InventoryViews expected;
    for (const std::string& item : items) {
        if (const auto kind = KindOf(item, OldItemExtensionTable)) {
            FuzzCheck(KindOf(item, ScanExtensionTable) == kind,
                      "the two tables disagree on a kind");
            ListOfKind(expected, *kind).push_back(item);
        }
    }
    FuzzCheck(classified.headerFiles == expected.headerFiles &&
                  classified.sourceFiles == expected.sourceFiles &&
                  classified.otherFiles == expected.otherFiles,
              "old items were not classified by their extensions, unchanged and in order");
}

}  // namespace
}  // namespace tamrivo

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path(reinterpret_cast<const char*>(data), size);
    std::string trimmed = path;
    tamrivo::TrimThroughSrc(trimmed);
    tamrivo::CheckTrimAndParent(path);
    tamrivo::CheckExclusion(path, trimmed);
    tamrivo::CheckClassification(path);
    tamrivo::CheckOldItems(path);
    return 0;
}
