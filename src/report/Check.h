#pragma once

#include <string>
#include <vector>

#include "model/SourceInventory.h"
#include "model/XmlElements.h"

namespace tamrivo {

// What --Check finds: the old files against what a run would write now. Each difference is one
// line: "+ <Kind> <path>" for a file of the tree that the project lacks, "- <Kind> <path>" for an
// item whose file the tree lacks, "~ <path> <old filter> -> <new filter>" for a file filed
// elsewhere, "+ Filter <name>" and "- Filter <name>" for filter definitions; kind by kind, then
// the filed files, then the filters, each in byte order. None when the files are in line. The
// inventory's lists are sorted in place; projectItems are the project's items of the kinds and
// extensions a run writes, and a file that they list more than once counts once.
std::vector<std::string> CheckDifferences(SourceInventory& inventory, const FolderList& folders,
                                          SourceInventory projectItems,
                                          const OldFilters& oldFilters);

// The line that ends the check's output: its verdict in words.
std::string CheckVerdict(const std::vector<std::string>& differences);

}  // namespace tamrivo
