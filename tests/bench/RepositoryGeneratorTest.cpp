#include "RepositoryGenerator.h"
#include "model/ExtensionTables.h"

#include <gtest/gtest.h>

#include <boost/filesystem/operations.hpp>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "TestSupport.h"
#include "platform/FileAccess.h"
#include "scan/Classification.h"
#include "scan/SourceTreeWalk.h"

namespace tamrivo {
namespace {

namespace fs = boost::filesystem;
using testing::ReadFile;
using testing::TempDir;

// What lies below a generated Src folder, by relative path; folders end in a slash.
std::set<std::string> Listing(const std::string& src) {
    std::set<std::string> entries;
    for (fs::recursive_directory_iterator it(src), end; it != end; ++it) {
        const std::string relative = it->path().lexically_relative(src).generic_string();
        entries.insert(fs::is_directory(it->status()) ? relative + "/" : relative);
    }
    return entries;
}

// The lines of a file written with CR LF; the last line has no line end.
std::vector<std::string> CrLfSplit(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(bytes.substr(start, end - start));
    }
    lines.push_back(bytes.substr(start));
    return lines;
}

TEST(GenerateRepository, TheSameSeedGivesTheSameBytesAndAnotherSeedOthers) {
    TempDir first;
    TempDir second;
    TempDir other;
    GenerateRepository(first.path(), 600);
    GenerateRepository(second.path(), 600);
    GenerateRepository(other.path(), 600, kBenchmarkSeed + 1);
    EXPECT_EQ(Listing(first / "Src"), Listing(second / "Src"));
    for (const char* file : {"Src/Prj/App.vcxproj", "Src/Prj/App.vcxproj.filters"}) {
        EXPECT_EQ(ReadFile(first / file), ReadFile(second / file)) << file;
        EXPECT_NE(ReadFile(first / file), ReadFile(other / file)) << file;
    }
    EXPECT_THROW(GenerateRepository(first.path(), 600), std::runtime_error);
}

// One repository of 3000 files, generated once for the tests that only read it.
class GeneratedRepository : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        repo_ = new TempDir;
        summary_ = GenerateRepository(repo_->path(), 3000);
    }
    static void TearDownTestSuite() { delete repo_; }

    static TempDir* repo_;
    static RepositorySummary summary_;
    const TempDir& repo = *repo_;
    const RepositorySummary& summary = summary_;
};
TempDir* GeneratedRepository::repo_ = nullptr;
RepositorySummary GeneratedRepository::summary_;

TEST_F(GeneratedRepository, TreeHasTheAskedSizeDepthAndEveryEnding) {
    std::size_t files = 0;
    std::size_t folders = 0;
    std::size_t deepest = 0;
    std::set<std::string> endings;
    for (const std::string& entry : Listing(repo / "Src")) {
        if (entry.back() == '/') {
            ++folders;
            deepest = std::max<std::size_t>(deepest, std::count(entry.begin(), entry.end(), '/'));
        } else if (entry.rfind("Prj/", 0) != 0) {
            ++files;
            endings.insert(entry.substr(std::min(entry.rfind('.'), entry.size())));
        }
    }
    EXPECT_EQ(files, 3000u);
    EXPECT_EQ(summary.files, files);
    EXPECT_EQ(summary.folders, folders);
    EXPECT_GE(folders, 250u);
    EXPECT_LE(folders, 350u);
    EXPECT_EQ(deepest, 6u);
    EXPECT_EQ(summary.maxDepth, deepest);
    for (const auto& entry : ScanExtensionTable) {
        EXPECT_EQ(endings.count(std::string(entry.extension)), 1u) << entry.extension;
    }
    for (const auto& entry : OldItemExtensionTable) {
        EXPECT_EQ(endings.count(std::string(entry.extension)), 1u) << entry.extension;
    }
    EXPECT_EQ(endings.count(".S"), 1u);
}

TEST_F(GeneratedRepository, TheWalkListsAllButTheExcludedAndUnknownEntries) {
    SourceInventory inventory;
    FolderList folders;
    std::ostringstream errors;
    WalkSourceTree(repo / "Src", inventory, folders, errors);
    EXPECT_EQ(errors.str(), "");
    EXPECT_GT(summary.excludedFiles, 30u);
    EXPECT_GT(summary.excludedFolders, 10u);
    EXPECT_GT(summary.unknownKindFiles, 30u);
    EXPECT_EQ(
        inventory.headerFiles.size() + inventory.sourceFiles.size() + inventory.otherFiles.size(),
        summary.files - summary.excludedFiles - summary.unknownKindFiles);
    EXPECT_EQ(folders.size(), summary.folders - summary.excludedFolders);
    EXPECT_GT(inventory.sourceFiles.size(), inventory.otherFiles.size());
    EXPECT_GT(inventory.headerFiles.size(), inventory.otherFiles.size());
}

TEST_F(GeneratedRepository, OldProjectListsMostFilesSomeMissingInCrLfLines) {
    const std::vector<std::string> lines = CrLfSplit(ReadFile(repo / "Src/Prj/App.vcxproj"));
    ASSERT_EQ(lines.size(), summary.projectLines);
    EXPECT_EQ(lines.front(), "<?xml version=\"1.0\" encoding=\"utf-8\"?>");
    EXPECT_EQ(lines.back(), "</Project>");

    const std::regex item(
        R"re(    <(ClCompile|ClInclude|None|Text) Include="\.\.\\\.\.\\Src\\(.*)"( />|>))re");
    std::size_t oneLine = 0;
    std::size_t withChildren = 0;
    std::size_t missing = 0;
    std::smatch match;
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
        if (!std::regex_match(line, match, item)) {
            continue;
        }
        ++(match[3] == " />" ? oneLine : withChildren);
        const fs::path file = fs::path(repo / "Src") / NativePathFromWindowsForm(match[2]);
        missing += fs::exists(file) ? 0 : 1;
    }
    EXPECT_EQ(oneLine, summary.oneLineItems);
    EXPECT_EQ(withChildren, summary.itemsWithChildren);
    EXPECT_EQ(missing, summary.missingItems);
    EXPECT_GT(withChildren, 10u);
    EXPECT_GT(missing, 30u);
    EXPECT_GT(oneLine + withChildren - missing, summary.files * 8 / 10);
    EXPECT_GT(lines.size() - oneLine - 3 * withChildren, 2000u);
}

TEST_F(GeneratedRepository, OldFiltersDefineEveryFilterTheirItemsName) {
    const std::vector<std::string> lines =
        CrLfSplit(ReadFile(repo / "Src/Prj/App.vcxproj.filters"));
    ASSERT_EQ(lines.size(), summary.filtersLines);
    const std::regex definition(R"re(    <Filter Include="(.*)">)re");
    const std::regex identifier(
        R"(      <UniqueIdentifier>\{[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\}</UniqueIdentifier>)");
    const std::regex assignment(R"(      <Filter>(.*)</Filter>)");
    std::set<std::string> defined;
    std::map<std::string, std::size_t> named;
    std::smatch match;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (std::regex_match(lines[i], match, definition)) {
            EXPECT_TRUE(defined.insert(match[1]).second) << match[1];
            ASSERT_LT(i + 1, lines.size());
            EXPECT_TRUE(std::regex_match(lines[i + 1], identifier)) << lines[i + 1];
        } else if (std::regex_match(lines[i], match, assignment)) {
            ++named[match[1]];
        }
    }
    EXPECT_GT(named.size(), summary.folders / 2);
    for (const auto& [filter, count] : named) {
        EXPECT_EQ(defined.count(filter), 1u) << filter;
    }
}

}  // namespace
}  // namespace tamrivo
