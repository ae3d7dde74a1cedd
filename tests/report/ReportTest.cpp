#include "report/Report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <ctime>
#include <iomanip>
#include <random>
#include <sstream>

#include "ReportTestSupport.h"
#include "TestSupport.h"

namespace tamrivo {
namespace {

using testing::CrLfLines;

// What the report of a comparison printed and wrote, timestamps masked.
struct ReportRun {
    std::string output;
    std::string file;
};

ReportRun RunReport(const OldItemList& oldItems, const SourceInventory& inventory) {
    std::ostringstream output;
    std::ostringstream file;
    const ReportContent report = CompareOldItemsWithTree(oldItems, inventory);
    PrintReportSummary(report, output);
    WriteReport(file, report);
    return {testing::MaskReportTimestamp(output.str()), testing::MaskReportTimestamp(file.str())};
}

// The three added lists of a report file: the lines between each dash line and the next empty line.
SourceInventory AddedLists(const std::string& file) {
    std::vector<std::string> lines;
    std::istringstream stream(file);
    for (std::string line; std::getline(stream, line);) {
        if (line.empty() || line.back() != '\r') {
            ADD_FAILURE() << "a line without CR LF: " << line;
            continue;
        }
        line.pop_back();
        lines.push_back(line);
    }
    SourceInventory added;
    const std::pair<const char*, std::vector<std::string>*> sections[] = {
        {"List of added header files:", &added.headerFiles},
        {"List of added source files:", &added.sourceFiles},
        {"List of added other files:", &added.otherFiles}};
    for (const auto& [heading, list] : sections) {
        auto at = std::find(lines.begin(), lines.end(), heading);
        EXPECT_NE(at, lines.end()) << heading;
        for (at += 2; at < lines.end() && !at->empty(); ++at) {
            list->push_back(*at);
        }
    }
    return added;
}

TEST(WriteReport, WritesTheExampleRunSummaryAndAddedFiles) {
    const OldItemList oldItems = {"..\\..\\Src\\A\\x.c", "..\\..\\Src\\A\\y.h"};
    SourceInventory inventory{
        {"..\\..\\Src\\A\\y.h"}, {"..\\..\\Src\\A\\z.c", "..\\..\\Src\\A\\x.c"}, {}};
    const ReportRun run = RunReport(oldItems, inventory);

    const std::vector<std::string> summary = Summary({1, 1, 0, 1, 2, 0, 0, 1, 0});
    EXPECT_EQ(run.output, ConsoleText(summary));
    std::vector<std::string> file = summary;
    file.insert(file.end(), {"List of added header files:", "-----------------------------", "",
                             "List of added source files:", "-----------------------------",
                             "..\\..\\Src\\A\\z.c", "",
                             "List of added other files:", "----------------------------"});
    EXPECT_EQ(run.file, CrLfLines(file));
}

TEST(WriteReport, ListsAddedFilesInByteOrder) {
    const SourceInventory inventory{
        {"..\\..\\Src\\a.h", "..\\..\\Src\\A.h"},
        {"..\\..\\Src\\a.c", "..\\..\\Src\\\xC3\xA9.c", "..\\..\\Src\\B\\a.c", "..\\..\\Src\\a.cpp",
         "..\\..\\Src\\A\\x.c", "..\\..\\Src\\AB.c", "..\\..\\Src\\Aa.c"},
        {"..\\..\\Src\\z.s", "..\\..\\Src\\Z.s"}};
    const ReportRun run = RunReport({}, inventory);

    // Upper case before the backslash before lower case; bytes above 0x7F after all of them.
    const SourceInventory sorted{
        {"..\\..\\Src\\A.h", "..\\..\\Src\\a.h"},
        {"..\\..\\Src\\AB.c", "..\\..\\Src\\A\\x.c", "..\\..\\Src\\Aa.c", "..\\..\\Src\\B\\a.c",
         "..\\..\\Src\\a.c", "..\\..\\Src\\a.cpp", "..\\..\\Src\\\xC3\xA9.c"},
        {"..\\..\\Src\\Z.s", "..\\..\\Src\\z.s"}};
    const SourceInventory added = AddedLists(run.file);
    EXPECT_EQ(added.headerFiles, sorted.headerFiles);
    EXPECT_EQ(added.sourceFiles, sorted.sourceFiles);
    EXPECT_EQ(added.otherFiles, sorted.otherFiles);
}

TEST(WriteReport, ComparesOldItemsAndTreeFilesKindByKind) {
    struct Case {
        const char* name;
        OldItemList oldItems;
        SourceInventory tree;
        std::array<int, 9> counts;
        SourceInventory added;
    };
    const std::string x = "..\\..\\Src\\A\\x.c";
    const Case cases[] = {
        {"an old file no longer in the tree is only counted",
         {x, "..\\..\\Src\\A\\gone.c", "..\\..\\Src\\A\\gone.h"},
         {{}, {x}, {}},
         {1, 2, 0, 0, 1, 0, 0, 0, 0},
         {}},
        {"named twice in the project, once in the tree",
         {x, x},
         {{}, {x}, {}},
         {0, 2, 0, 0, 1, 0, 0, 0, 0},
         {}},
        {"twice in the tree, once in the project",
         {x},
         {{}, {x, x}, {}},
         {0, 1, 0, 0, 2, 0, 0, 1, 0},
         {{}, {x}, {}}},
        {"twice in the tree, not in the project",
         {},
         {{}, {x, x}, {}},
         {0, 0, 0, 0, 2, 0, 0, 2, 0},
         {{}, {x, x}, {}}},
        {"case and separators make other files",
         {"..\\..\\Src\\A\\X.c", "..\\..\\Src/A/x.c", "..\\..\\src\\A\\x.c"},
         {{}, {x}, {}},
         {0, 3, 0, 0, 1, 0, 0, 1, 0},
         {{}, {x}, {}}},
        {"kinds the old project's table lacks are not counted",
         {"..\\..\\Src\\e.hpp", "..\\..\\Src\\c.xdm", "..\\..\\Src\\l.a", "..\\..\\Src\\p.project",
          "..\\..\\Src\\r.gmk", "..\\..\\Src\\notes.txt", "..\\..\\Src\\m.mak"},
         {{"..\\..\\Src\\e.hpp"},
          {},
          {"..\\..\\Src\\c.xdm", "..\\..\\Src\\l.a", "..\\..\\Src\\m.mak"}},
         {0, 0, 1, 1, 0, 3, 1, 0, 2},
         {{"..\\..\\Src\\e.hpp"}, {}, {"..\\..\\Src\\c.xdm", "..\\..\\Src\\l.a"}}},
        {"the old list is sorted before the comparison",
         {"..\\..\\Src\\c.c", "..\\..\\Src\\a.c", "..\\..\\Src\\b.c"},
         {{}, {"..\\..\\Src\\d.c", "..\\..\\Src\\b.c", "..\\..\\Src\\a.c", "..\\..\\Src\\c.c"}, {}},
         {0, 3, 0, 0, 4, 0, 0, 1, 0},
         {{}, {"..\\..\\Src\\d.c"}, {}}},
        {"an entry pairs only with one of its own kind",
         {"..\\..\\Src\\x.h"},
         {{}, {}, {"..\\..\\Src\\x.h"}},
         {1, 0, 0, 0, 0, 1, 0, 0, 1},
         {{}, {}, {"..\\..\\Src\\x.h"}}},
        {"an empty tree", {x, "..\\..\\Src\\A\\y.h"}, {}, {1, 1, 0, 0, 0, 0, 0, 0, 0}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SourceInventory tree = c.tree;
        const ReportRun run = RunReport(c.oldItems, tree);
        EXPECT_EQ(run.output, ConsoleText(Summary(c.counts)));
        const SourceInventory added = AddedLists(run.file);
        EXPECT_EQ(added.headerFiles, c.added.headerFiles);
        EXPECT_EQ(added.sourceFiles, c.added.sourceFiles);
        EXPECT_EQ(added.otherFiles, c.added.otherFiles);
    }
}

TEST(SortInByteOrder, SortsAsStdSortDoes) {
    std::mt19937 random(15);
    // Lists of short names from a few bytes, so that prefixes and duplicates are common, in
    // ascending runs of every length, from one entry (no order at all) to the whole list.
    for (int round = 0; round < 400; ++round) {
        const std::size_t size = random() % 600;
        const std::size_t runLength = 1 + random() % (size + 1);
        std::vector<std::string> list(size);
        for (std::string& name : list) {
            for (std::size_t n = random() % 6; n > 0; --n) {
                name += "aB\\.\xE9"[random() % 5];
            }
        }
        for (std::size_t run = 0; run < size; run += runLength) {
            std::sort(list.begin() + run, list.begin() + std::min(size, run + runLength));
        }
        std::vector<std::string> expected = list;
        std::sort(expected.begin(), expected.end());
        SortInByteOrder(list);
        ASSERT_EQ(list, expected) << "round " << round;
    }
}

const std::vector<std::string> kEmptyLists = {
    "List of added header files:", "-----------------------------", "",
    "List of added source files:", "-----------------------------", "",
    "List of added other files:",  "----------------------------"};

std::string EmptyReport() {
    std::vector<std::string> lines = Summary({});
    lines.insert(lines.end(), kEmptyLists.begin(), kEmptyLists.end());
    return CrLfLines(lines);
}

TEST(WriteReport, WritesHeadingsOnlyForAnEmptyRun) {
    SourceInventory inventory;
    const ReportRun run = RunReport({}, inventory);
    EXPECT_EQ(run.output, ConsoleText(Summary({})));
    EXPECT_EQ(run.file, EmptyReport());
}

// A time as UTC in the form of the report's timestamp.
std::string FormatTime(std::time_t when) {
    std::ostringstream text;
    text << std::put_time(std::gmtime(&when), "%Y-%m-%d %H:%M:%S");
    return text.str();
}

TEST(MakeTimestamp, GivesTheLocalTimeOfTheTimeZone) {
    // Time zones in the form that both the C library of POSIX systems and Windows' read from TZ.
    const struct {
        const char* zone;
        std::time_t offset;
    } zones[] = {{"UTC0", 0}, {"XYZ-05:30", 5 * 3600 + 1800}, {"ABC+10", -10 * 3600}};
    for (const auto& zone : zones) {
        SCOPED_TRACE(zone.zone);
        const testing::ScopedEnvironment timeZone("TZ", zone.zone);
        tzset();
        // time() may run on a coarser clock than the system clock, so both ends use the latter.
        const std::time_t before = std::chrono::system_clock::to_time_t(
            std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now()));
        const std::string stamp = MakeTimestamp();
        const std::time_t after = std::chrono::system_clock::to_time_t(
            std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now()));
        EXPECT_EQ(stamp.size(), 19u);
        EXPECT_TRUE(stamp == FormatTime(before + zone.offset) ||
                    stamp == FormatTime(after + zone.offset))
            << stamp;
    }
    tzset();  // the time zone of the restored TZ
}

}  // namespace
}  // namespace tamrivo
