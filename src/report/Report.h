#pragma once

#include <algorithm>
#include <deque>
#include <iosfwd>
#include <iterator>
#include <string>
#include <string_view>
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

// Compares the old project's items with the tree's files, changing neither; the content refers
// to the inventory's entries, so it lives no longer than they do.
ReportContent CompareOldItemsWithTree(const OldItemList& oldItems,
                                      const SourceInventory& inventory);

// Prints the 23 summary lines on output.
void PrintReportSummary(const ReportContent& report, std::ostream& output);

// Writes the report file: the summary lines, then the lists of added files.
void WriteReport(std::ostream& output, const ReportContent& report);

// Sorts texts (std::string or std::string_view) in ascending byte order (bytes as unsigned values,
// a prefix before the longer text), as std::sort would, but in little more than one pass over a
// list that is nearly in order.
template <typename Text>
void SortInByteOrder(std::vector<Text>& list);

// Sorts each list of an inventory in byte order, as SortInByteOrder does.
template <typename Text>
void SortLists(KindLists<Text>& inventory) {
    for (const ProjectItemKind kind : AllItemKinds) {
        SortInByteOrder(ListOfKind(inventory, kind));
    }
}

// The entries of list that other lacks, one with one (an entry twice in list and once in other
// is missing once), as views of list's entries; both sorted in byte order.
template <typename Entry, typename OtherEntry>
std::vector<std::string_view> EntriesMissingFrom(const std::vector<Entry>& list,
                                                 const std::vector<OtherEntry>& other) {
    std::vector<std::string_view> missing;
    std::set_difference(list.begin(), list.end(), other.begin(), other.end(),
                        std::back_inserter(missing));
    return missing;
}

// The same for each kind of two inventories.
template <typename Entry, typename OtherEntry>
InventoryViews EntriesMissingFrom(const KindLists<Entry>& lists,
                                  const KindLists<OtherEntry>& others) {
    InventoryViews missing;
    for (const ProjectItemKind kind : AllItemKinds) {
        ListOfKind(missing, kind) =
            EntriesMissingFrom(ListOfKind(lists, kind), ListOfKind(others, kind));
    }
    return missing;
}

// The current local time as YYYY-MM-DD HH:MM:SS.
std::string MakeTimestamp();

}  // namespace tamrivo
