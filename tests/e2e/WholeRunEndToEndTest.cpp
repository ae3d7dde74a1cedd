#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>

#include "TestSupport.h"
#include "WholeRunEndToEndTestSupport.h"

namespace tamrivo {
namespace {

using testing::ReadFile;
using testing::TempDir;

std::string Expected(const std::string& name) {
    return ReadFile(testing::ProjectSourceDir() + "/tests/e2e/expected/example/" + name);
}

std::string MaskedIdentifiers(const std::string& text) {
    std::vector<std::string> identifiers;
    return testing::MaskFilterIdentifiers(text, identifiers);
}

TEST(WholeRunEndToEnd, TheBundledExampleGivesExactlyTheExpectedFiles) {
    TempDir dir;
    const std::string repo = CopyOfTheExample(dir);
    const auto before = testing::SnapshotTree(repo);

    const auto result = RunOnTheExample(repo);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.errorOutput, "");
    EXPECT_EQ(testing::MaskReportTimestamp(testing::MaskBuildDate(result.output)),
              testing::ConsoleText(Expected("stdout.txt")));

    const std::string src = repo + "/Src/";
    EXPECT_EQ(ReadFile(src + "Prj/App.vcxproj.new"), Expected("App.vcxproj.new"));
    EXPECT_EQ(MaskedIdentifiers(ReadFile(src + "Prj/App.vcxproj.filters.new")),
              Expected("App.vcxproj.filters.new"));
    EXPECT_EQ(testing::MaskReportTimestamp(ReadFile(src + "Prj/TamrivoReport.txt")),
              Expected("TamrivoReport.txt"));

    // The old project, the old filters file and the tree are as they were; only the outputs are
    // new.
    auto after = testing::SnapshotTree(repo);
    for (const std::string& output : kOutputs) {
        EXPECT_EQ(after.erase("Src/" + output), 1u) << output;
    }
    EXPECT_EQ(after, before);
}

TEST(WholeRunEndToEnd, EveryNewProjectItemHasADefinedFilterExceptFilesInTheSourceRoot) {
    TempDir dir;
    const std::string repo = CopyOfTheExample(dir);
    testing::WriteFile(repo + "/Src/top.c", "");
    ASSERT_EQ(RunOnTheExample(repo).exitCode, 0);

    const std::string project = ReadFile(repo + "/Src/Prj/App.vcxproj.new");
    const std::string filters = ReadFile(repo + "/Src/Prj/App.vcxproj.filters.new");

    std::set<std::string> defined;
    const std::regex definition("    <Filter Include=\"([^\"]*)\"> \r\n");
    for (std::sregex_iterator it(filters.begin(), filters.end(), definition), end; it != end;
         ++it) {
        defined.insert((*it)[1]);
    }
    std::map<std::string, std::string> assigned;  // kind and path -> filter
    const std::regex assignment(
        "    <(ClCompile|ClInclude|None) Include=\"([^\"]*)\"> \r\n      "
        "<Filter>([^<]*)</Filter> ");
    for (std::sregex_iterator it(filters.begin(), filters.end(), assignment), end; it != end;
         ++it) {
        assigned[(*it)[1].str() + " " + (*it)[2].str()] = (*it)[3];
    }

    const std::regex item("    <(ClCompile|ClInclude|None) Include=\"([^\"]*)\" />\r\n");
    int items = 0;
    for (std::sregex_iterator it(project.begin(), project.end(), item), end; it != end; ++it) {
        ++items;
        const std::string key = (*it)[1].str() + " " + (*it)[2].str();
        ASSERT_EQ(assigned.count(key), 1u) << key;
        if ((*it)[2] == "..\\..\\Src\\top.c") {
            EXPECT_EQ(assigned[key], "") << "a file in the source root has no folder filter";
        } else {
            EXPECT_EQ(defined.count(assigned[key]), 1u) << key << " -> " << assigned[key];
        }
    }
    EXPECT_EQ(items, 10);
    EXPECT_EQ(assigned.size(), 10u);
}

}  // namespace
}  // namespace tamrivo
