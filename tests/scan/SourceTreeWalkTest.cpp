#include "scan/SourceTreeWalk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <boost/filesystem/operations.hpp>
#include <sstream>

#include "SourceTreeWalkTestSupport.h"
#include "TestSupport.h"

namespace tamrivo {
namespace {

using testing::TempDir;
using testing::WriteFile;
using Strings = std::vector<std::string>;

TEST(WalkSourceTree, ListsFoldersAndFilesInPreOrderWithWindowsStrings) {
    TempDir tree;
    const std::string root = tree / "proj/Src";
    WriteFile(root + "/main.c", "");
    WriteFile(root + "/b.h", "");
    WriteFile(root + "/App/Core/main.c", "");
    WriteFile(root + "/App/util.h", "");
    WriteFile(root + "/App/notes.txt", "");
    WriteFile(root + "/App/Core/link.ld", "");
    WriteFile(root + "/Lib/Src/x.c", "");

    WalkResult result = Walk(root);
    EXPECT_EQ(result.folders, (Strings{"App", "App\\Core", "Lib", "Lib\\Src"}));
    EXPECT_EQ(result.inventory.sourceFiles,
              (Strings{"..\\..\\Src\\App\\Core\\main.c", "..\\..\\Src\\Lib\\Src\\x.c",
                       "..\\..\\Src\\main.c"}));
    EXPECT_EQ(result.inventory.headerFiles,
              (Strings{"..\\..\\Src\\App\\util.h", "..\\..\\Src\\b.h"}));
    EXPECT_EQ(result.inventory.otherFiles, (Strings{"..\\..\\Src\\App\\Core\\link.ld"}));
    EXPECT_EQ(result.errors, "");

    // A trailing separator on the root adds none of its own; a root's slashes are kept.
    WalkResult withSlash = Walk(root + "/");
    EXPECT_EQ(withSlash.folders, result.folders);
    EXPECT_EQ(withSlash.inventory.sourceFiles[2], "..\\..\\Src/main.c");
}

TEST(WalkSourceTree, ARootEndingInABackslashGetsNoSecondOne) {
    // A folder whose name ends in a backslash stands for the Windows root C:\proj\Src\.
    TempDir tree;
    const std::string root = tree / "Src\\";
    WriteFile(root + "/App/a.c", "");
    WalkResult result = Walk(root);
    EXPECT_EQ(result.folders, (Strings{"App"}));
    EXPECT_EQ(result.inventory.sourceFiles, (Strings{"..\\..\\Src\\App\\a.c"}));
}

TEST(WalkSourceTree, RootsAboveOrWithoutTheSrcFolder) {
    TempDir tree;
    WriteFile(tree / "proj/Src/App/a.c", "");
    WriteFile(tree / "proj/code/App/b.c", "");

    WalkResult above = Walk(tree / "proj");
    const std::string base = tree / "proj";
    EXPECT_EQ(above.folders, (Strings{base + "\\code", base + "\\code\\App", "", "App"}));
    EXPECT_EQ(above.inventory.sourceFiles,
              (Strings{base + "\\code\\App\\b.c", "..\\..\\Src\\App\\a.c"}));
}

TEST(WalkSourceTree, KeepsTheComponentsExcludedFoldersOutOfBothLists) {
    TempDir tree;
    const std::string root = tree / "Src";
    const std::string component = root + "/Src_ThirdParty/Src_QRX5/Src_VORN-QRX5";
    WriteFile(component + "/Source/a.c", "");
    WriteFile(component + "/Releases/r.c", "");
    WriteFile(component + "/Releases/Deep/d.h", "");
    WriteFile(component + "/ToolsOld/t.c", "");
    WriteFile(component + "/tools/k.c", "");

    WalkResult result = Walk(root);
    const std::string c = "Src_ThirdParty\\Src_QRX5\\Src_VORN-QRX5";
    EXPECT_EQ(result.folders, (Strings{"Src_ThirdParty", "Src_ThirdParty\\Src_QRX5", c,
                                       c + "\\Source", c + "\\tools"}));
    EXPECT_EQ(result.inventory.sourceFiles, (Strings{"..\\..\\Src\\" + c + "\\Source\\a.c",
                                                     "..\\..\\Src\\" + c + "\\tools\\k.c"}));
    EXPECT_TRUE(result.inventory.headerFiles.empty());
}

TEST(WalkSourceTree, FolderTestLooksAtTheTrimmedFormAndFileTestAtTheFullPath) {
    TempDir tree;
    // One folder whose name holds backslashes stands for a Windows root D:\Src_ThirdParty\...
    const std::string root = tree / "Src_ThirdParty\\Src_QRX5\\Src_VORN-QRX5";
    WriteFile(root + "/Releases/r.c", "");
    WalkResult result = Walk(root);
    EXPECT_EQ(result.folders, (Strings{"ThirdParty\\Src_QRX5\\Src_VORN-QRX5\\Releases"}));
    EXPECT_TRUE(result.inventory.sourceFiles.empty());
}

TEST(WalkSourceTree, AFolderWithAKnownExtensionIsAlsoAFile) {
    TempDir tree;
    WriteFile(tree / "Src/Lib.h/x.c", "");
    WalkResult result = Walk(tree / "Src");
    EXPECT_EQ(result.folders, (Strings{"Lib.h"}));
    EXPECT_EQ(result.inventory.headerFiles, (Strings{"..\\..\\Src\\Lib.h"}));
    EXPECT_EQ(result.inventory.sourceFiles, (Strings{"..\\..\\Src\\Lib.h\\x.c"}));
}

TEST(WalkSourceTree, MissingEmptyOrFileRootsAddNothing) {
    TempDir tree;
    WriteFile(tree / "file.c", "");
    boost::filesystem::create_directories(tree / "Empty");
    // A root that cannot be listed is the caller's to report: the walk only gives its error.
    for (const auto& [root, rootError] : {std::pair<std::string, bool>{tree / "missing", true},
                                          {tree / "file.c", true},
                                          {tree / "Empty", false}}) {
        SourceInventory inventory;
        inventory.sourceFiles = {"kept"};
        FolderList folders;
        std::ostringstream errors;
        EXPECT_EQ(static_cast<bool>(WalkSourceTree(root, inventory, folders, errors)), rootError)
            << root;
        EXPECT_EQ(inventory.sourceFiles, (Strings{"kept"})) << root;
        EXPECT_TRUE(folders.empty()) << root;
        EXPECT_EQ(errors.str(), "") << root;
    }
}

}  // namespace
}  // namespace tamrivo
