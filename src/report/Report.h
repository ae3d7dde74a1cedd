#pragma once

#include <boost/filesystem/path.hpp>
#include <iosfwd>
#include <string>
#include <vector>

#include "model/LineList.h"
#include "model/SourceInventory.h"

namespace tamrivo {

// Appends "\TamrivoReport.txt" to the report folder itself (a Windows-form path) and gives the
// native path of the result: on Linux Prj gives Prj/TamrivoReport.txt, relative to the current
// folder, and an empty folder /TamrivoReport.txt, as Windows takes the root of the current drive.
boost::filesystem::path NativeReportPath(std::string& reportFolder);

// Compares the old project's items with the tree's files: sorts the inventory's lists in place,
// prints the 23 summary lines on output and writes them with the lists of added files to
// TamrivoReport.txt in the report folder, which gets the file name appended. A report file that
// cannot be written, or that would land on one of inputPaths, is one "Tamrivo error: " line on
// output after the summary.
void WriteReport(const OldItemList& oldItems, SourceInventory& inventory, std::string& reportFolder,
                 std::ostream& output, const std::vector<std::string>& inputPaths = {});

// Sorts texts (std::string or std::string_view) in ascending byte order (bytes as unsigned values,
// a prefix before the longer text), as std::sort would, but in little more than one pass over a
// list that is nearly in order.
template <typename Text>
void SortInByteOrder(std::vector<Text>& list);

// The current local time as YYYY-MM-DD HH:MM:SS.
std::string MakeTimestamp();

}  // namespace tamrivo
