#include "report/Report.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <deque>
#include <iomanip>
#include <iterator>
#include <locale>
#include <ostream>
#include <sstream>

#include "platform/FileAccess.h"
#include "platform/RunFiles.h"
#include "platform/TextFile.h"
#include "scan/Classification.h"

namespace tamrivo {
namespace {

using ReportLines = std::deque<std::string>;

// std::string compares its bytes as unsigned values, which is the order the report lists.
void SortLists(SourceInventory& inventory) {
    for (const ProjectItemKind kind : AllItemKinds) {
        std::vector<std::string>& list = ListOfKind(inventory, kind);
        std::sort(list.begin(), list.end());
    }
}

// For each kind, the tree's files that the old project lacks; a file named twice in the tree
// and once in the project is added once.
SourceInventory AddedFiles(const SourceInventory& inventory, const SourceInventory& oldInventory) {
    SourceInventory added;
    for (const ProjectItemKind kind : AllItemKinds) {
        const std::vector<std::string>& tree = ListOfKind(inventory, kind);
        const std::vector<std::string>& old = ListOfKind(oldInventory, kind);
        std::set_difference(tree.begin(), tree.end(), old.begin(), old.end(),
                            std::back_inserter(ListOfKind(added, kind)));
    }
    return added;
}

void AppendCounts(ReportLines& lines, const SourceInventory& inventory) {
    lines.push_back("Number of Header Files: " + std::to_string(inventory.headerFiles.size()));
    lines.push_back("Number of Source Files: " + std::to_string(inventory.sourceFiles.size()));
    lines.push_back("Number of Other  Files: " + std::to_string(inventory.otherFiles.size()));
}

ReportLines SummaryLines(const SourceInventory& oldInventory, const SourceInventory& inventory,
                         const SourceInventory& added) {
    ReportLines lines = {"Tamrivo.exe report TamrivoReport.txt: " + MakeTimestamp(),
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

void AppendList(ReportLines& lines, const std::string& heading, std::size_t dashes,
                const std::vector<std::string>& files) {
    lines.push_back(heading);
    lines.push_back(std::string(dashes, '-'));
    lines.insert(lines.end(), files.begin(), files.end());
}

void AppendAddedLists(ReportLines& lines, const SourceInventory& added) {
    AppendList(lines, "List of added header files:", 29, added.headerFiles);
    lines.push_back("");
    AppendList(lines, "List of added source files:", 29, added.sourceFiles);
    lines.push_back("");
    AppendList(lines, "List of added other files:", 28, added.otherFiles);
}

}  // namespace

boost::filesystem::path NativeReportPath(std::string& reportFolder) {
    reportFolder += "\\TamrivoReport.txt";
    return NativePathFromWindowsForm(reportFolder);
}

void WriteReport(const OldItemList& oldItems, SourceInventory& inventory, std::string& reportFolder,
                 std::ostream& output, const std::vector<std::string>& inputPaths) {
    SourceInventory oldInventory;
    ClassifyOldItems(oldItems, oldInventory);
    SortLists(inventory);
    SortLists(oldInventory);
    const SourceInventory added = AddedFiles(inventory, oldInventory);

    ReportLines lines = SummaryLines(oldInventory, inventory, added);
    for (const std::string& line : lines) {
        output << line << '\n';
    }
    output.flush();

    AppendAddedLists(lines, added);
    WriteRunOutput(
        "report file", NativeReportPath(reportFolder), inputPaths,
        [&lines](std::ostream& file) {
            for (const std::string& line : lines) {
                WriteTextLine(file, line);
            }
        },
        output);
}

std::string MakeTimestamp() {
    const std::time_t now = std::chrono::system_clock::to_time_t(
        std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now()));
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << std::put_time(std::localtime(&now), "%Y-%m-%d %X");
    return text.str();
}

}  // namespace tamrivo
