#pragma once

#include <deque>
#include <iosfwd>
#include <string>
#include <vector>

#include "model/LineList.h"
#include "model/SourceInventory.h"

namespace tamrivo {

// What the report says: the summary lines, and for each kind the tree's files that the old
// project lacks, as views of the inventory's entries.
struct ReportContent {
    std::deque<std::string> summary;
    InventoryViews added;
};

// Compares the old project's items with the tree's files, sorting the inventory's lists in place;
// the content refers to the entries of both, so it lives no longer than they do.
ReportContent CompareOldItemsWithTree(const OldItemList& oldItems, SourceInventory& inventory);

// Prints the 23 summary lines on output.
void PrintReportSummary(const ReportContent& report, std::ostream& output);

// Writes the report file: the summary lines, then the lists of added files.
void WriteReport(std::ostream& output, const ReportContent& report);

// Sorts texts (std::string or std::string_view) in ascending byte order (bytes as unsigned values,
// a prefix before the longer text), as std::sort would, but in little more than one pass over a
// list that is nearly in order.
template <typename Text>
void SortInByteOrder(std::vector<Text>& list);

// The current local time as YYYY-MM-DD HH:MM:SS.
std::string MakeTimestamp();

}  // namespace tamrivo
