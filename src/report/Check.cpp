#include "report/Check.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "model/LineList.h"
#include "report/Report.h"
#include "scan/PathRules.h"

namespace tamrivo {
namespace {

constexpr std::string_view kFilterKind = "Filter";

void AppendFileLines(std::vector<std::string>& lines, std::string_view sign,
                     const InventoryViews& files, ProjectItemKind kind) {
    for (const std::string_view path : ListOfKind(files, kind)) {
        lines.push_back(JoinLine({sign, " ", ItemElementName(kind), " ", path}));
    }
}

// The tree's files that the filters file files elsewhere than a new one would, or not at all.
std::vector<std::string> FiledElsewhere(const SourceInventory& inventory,
                                        const OldFilters& oldFilters) {
    std::unordered_map<std::string_view, std::string_view> oldFilterOf;
    for (const FilterAssignment& assignment : oldFilters.assignments) {
        oldFilterOf.emplace(assignment.path, assignment.filter);
    }
    std::vector<std::string> lines;
    for (const ProjectItemKind kind : AllItemKinds) {
        for (const std::string& path : ListOfKind(inventory, kind)) {
            const std::string_view newFilter = ParentFolderViewRelativeToSrc(path);
            const auto old = oldFilterOf.find(path);
            if (old == oldFilterOf.end() || old->second != newFilter) {
                const std::string_view oldFilter =
                    old == oldFilterOf.end() ? "(none)" : old->second;
                lines.push_back(JoinLine({"~ ", path, " ", oldFilter, " -> ", newFilter}));
            }
        }
    }
    SortInByteOrder(lines);
    return lines;
}

// The filters a new file would define and the old file does not (sign "+"), and the other way.
void AppendFilterLines(std::vector<std::string>& lines, const FolderList& folders,
                       const OldFilters& oldFilters) {
    std::vector<std::string_view> newNames(folders.begin(), folders.end());
    std::vector<std::string_view> oldNames;
    for (const FilterDefinition& definition : oldFilters.definitions) {
        oldNames.push_back(definition.name);
    }
    SortInByteOrder(newNames);
    SortInByteOrder(oldNames);
    for (const auto& [sign, names] : {std::pair{"+", EntriesMissingFrom(newNames, oldNames)},
                                      std::pair{"-", EntriesMissingFrom(oldNames, newNames)}}) {
        for (const std::string_view name : names) {
            lines.push_back(JoinLine({sign, " ", kFilterKind, " ", name}));
        }
    }
}

}  // namespace

std::vector<std::string> CheckDifferences(SourceInventory& inventory, const FolderList& folders,
                                          SourceInventory projectItems,
                                          const OldFilters& oldFilters) {
    SortLists(inventory);
    SortLists(projectItems);
    // A file listed twice (a multi-line item that a run keeps beside its new one-line item) is
    // still listed.
    for (const ProjectItemKind kind : AllItemKinds) {
        std::vector<std::string>& items = ListOfKind(projectItems, kind);
        items.erase(std::unique(items.begin(), items.end()), items.end());
    }
    const InventoryViews added = EntriesMissingFrom(inventory, projectItems);
    const InventoryViews removed = EntriesMissingFrom(projectItems, inventory);
    std::vector<std::string> lines;
    for (const ProjectItemKind kind : AllItemKinds) {
        AppendFileLines(lines, "+", added, kind);
        AppendFileLines(lines, "-", removed, kind);
    }
    for (std::string& line : FiledElsewhere(inventory, oldFilters)) {
        lines.push_back(std::move(line));
    }
    AppendFilterLines(lines, folders, oldFilters);
    return lines;
}

std::string CheckVerdict(const std::vector<std::string>& differences) {
    if (differences.empty()) {
        return "Tamrivo check: the project and the filters file are in line with the tree.";
    }
    return "Tamrivo check: the project and the filters file are not in line with the tree (" +
           std::to_string(differences.size()) + " differences).";
}

}  // namespace tamrivo
