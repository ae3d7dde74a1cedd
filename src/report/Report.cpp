#include "report/Report.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <deque>
#include <iomanip>
#include <locale>
#include <ostream>
#include <sstream>
#include <string_view>

#include "platform/TextFile.h"
#include "scan/Classification.h"

namespace tamrivo {
namespace {

// Merges the neighbouring ascending runs [first, middle) and [middle, last): only the elements
// above the second run's first one and those below the first run's last one change places.
template <typename Text>
void MergeRuns(std::vector<Text>& list, std::size_t first, std::size_t middle, std::size_t last) {
    const auto begin = list.begin();
    const auto from = std::upper_bound(begin + first, begin + middle, list[middle]);
    const auto to = std::lower_bound(begin + middle, begin + last, list[middle - 1]);
    std::inplace_merge(from, begin + middle, to);
}

void AppendCounts(std::deque<std::string>& lines, const InventoryViews& inventory) {
    lines.push_back("Number of Header Files: " + std::to_string(inventory.headerFiles.size()));
    lines.push_back("Number of Source Files: " + std::to_string(inventory.sourceFiles.size()));
    lines.push_back("Number of Other  Files: " + std::to_string(inventory.otherFiles.size()));
}

std::deque<std::string> SummaryLines(const InventoryViews& oldInventory,
                                     const InventoryViews& inventory, const InventoryViews& added) {
    std::deque<std::string> lines = {"Tamrivo.exe report TamrivoReport.txt: " + MakeTimestamp(),
                                     "",
                                     "Tamrivo Report:",
                                     std::string(26, '-'),
                                     "",
                                     "Files in old Vcxproj:",
                                     std::string(23, '-')};
    AppendCounts(lines, oldInventory);
    lines.insert(lines.end(), {"", "Files in the specified Src path:", std::string(43, '-')});
    AppendCounts(lines, inventory);
    lines.insert(lines.end(), {"", "List of new added files:", std::string(24, '-')});
    AppendCounts(lines, added);
    lines.push_back("");
    return lines;
}

void WriteList(std::ostream& output, std::string_view heading, std::size_t dashes,
               const std::vector<std::string_view>& files) {
    WriteTextLine(output, heading);
    WriteTextLine(output, std::string(dashes, '-'));
    for (const std::string_view file : files) {
        WriteTextLine(output, file);
    }
}

}  // namespace

ReportContent CompareOldItemsWithTree(const OldItemList& oldItems,
                                      const SourceInventory& inventory) {
    InventoryViews oldInventory;
    ClassifyOldItems(oldItems, oldInventory);
    // Views, sorted: the inventory stays in walk order for the writers, which may read it
    // meanwhile.
    InventoryViews treeInventory;
    for (const ProjectItemKind kind : AllItemKinds) {
        const std::vector<std::string>& files = ListOfKind(inventory, kind);
        ListOfKind(treeInventory, kind).assign(files.begin(), files.end());
    }
    SortLists(treeInventory);
    SortLists(oldInventory);
    InventoryViews added = EntriesMissingFrom(treeInventory, oldInventory);
    return {SummaryLines(oldInventory, treeInventory, added), std::move(added)};
}

void PrintReportSummary(const ReportContent& report, std::ostream& output) {
    for (const std::string& line : report.summary) {
        output << line << '\n';
    }
    output.flush();
}

void WriteReport(std::ostream& output, const ReportContent& report) {
    for (const std::string& line : report.summary) {
        WriteTextLine(output, line);
    }
    WriteList(output, "List of added header files:", 29, report.added.headerFiles);
    WriteTextLine(output, "");
    WriteList(output, "List of added source files:", 29, report.added.sourceFiles);
    WriteTextLine(output, "");
    WriteList(output, "List of added other files:", 28, report.added.otherFiles);
}

// The walk lists each folder in NTFS order, which byte order keeps but for a few entries, so a
// list comes as long ascending runs: merged pairwise where they overlap, they cost little more
// than finding them. A list of short runs is sorted as a whole.
template <typename Text>
void SortInByteOrder(std::vector<Text>& list) {
    constexpr std::size_t kShortestRun = 16;
    std::vector<std::size_t> bounds = {0};
    for (std::size_t i = 1; i < list.size(); ++i) {
        if (list[i] < list[i - 1]) {
            bounds.push_back(i);
        }
    }
    bounds.push_back(list.size());
    if (bounds.size() * kShortestRun > list.size()) {
        std::sort(list.begin(), list.end());
        return;
    }
    while (bounds.size() > 2) {
        std::vector<std::size_t> merged = {0};
        std::size_t run = 0;
        for (; run + 2 < bounds.size(); run += 2) {
            MergeRuns(list, bounds[run], bounds[run + 1], bounds[run + 2]);
            merged.push_back(bounds[run + 2]);
        }
        if (run + 2 == bounds.size()) {
            merged.push_back(bounds.back());  // an odd run out waits for the next round
        }
        bounds.swap(merged);
    }
}

template void SortInByteOrder(std::vector<std::string>& list);
template void SortInByteOrder(std::vector<std::string_view>& list);

std::string MakeTimestamp() {
    const std::time_t now = std::chrono::system_clock::to_time_t(
        std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now()));
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << std::put_time(std::localtime(&now), "%Y-%m-%d %X");
    return text.str();
}

}  // namespace tamrivo
