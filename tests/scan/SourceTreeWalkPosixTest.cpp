// Walks over what only POSIX file systems give a test: symbolic links made with symlink(),
// folders that an unprivileged user cannot read and names that hold line breaks.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "SourceTreeWalkTestSupport.h"
#include "TestSupport.h"

namespace tamrivo {
namespace {

using testing::TempDir;
using testing::WriteFile;
using Strings = std::vector<std::string>;

TEST(WalkSourceTree, LinksAreListedButNeverEntered) {
    TempDir tree;
    const std::string root = tree / "Src";
    WriteFile(tree / "Outside/o.c", "");
    WriteFile(root + "/Real/r.c", "");
    ASSERT_EQ(symlink((tree / "Outside").c_str(), (root + "/Linked.h").c_str()), 0);
    ASSERT_EQ(symlink((tree / "missing").c_str(), (root + "/dangling.c").c_str()), 0);
    ASSERT_EQ(symlink(root.c_str(), (root + "/Real/up").c_str()), 0);
    ASSERT_EQ(symlink((root + "/loop2").c_str(), (root + "/loop1.c").c_str()), 0);
    ASSERT_EQ(symlink((root + "/loop1.c").c_str(), (root + "/loop2").c_str()), 0);

    WalkResult result = Walk(root);
    EXPECT_EQ(result.folders, (Strings{"Linked.h", "Real", "Real\\up"}));
    EXPECT_EQ(result.inventory.headerFiles, (Strings{"..\\..\\Src\\Linked.h"}));
    EXPECT_EQ(
        result.inventory.sourceFiles,
        (Strings{"..\\..\\Src\\dangling.c", "..\\..\\Src\\loop1.c", "..\\..\\Src\\Real\\r.c"}));
    // The loop cannot be resolved: reported for both links, and the walk goes on.
    EXPECT_NE(result.errors.find("Error While Accessing : " + root + "\\loop1.c :: "),
              std::string::npos)
        << result.errors;
    EXPECT_NE(result.errors.find("Error While Accessing : " + root + "\\loop2 :: "),
              std::string::npos)
        << result.errors;
}

TEST(WalkSourceTree, AnUnreadableFolderIsListedOnceReportedAndSkipped) {
    TempDir tree;
    const std::string root = tree / "Src";
    WriteFile(root + "/A/a.c", "");
    WriteFile(root + "/B/hidden.c", "");
    WriteFile(root + "/C/c.c", "");
    testing::OpenToEveryone(tree.path());
    ASSERT_EQ(chmod((root + "/B").c_str(), 0), 0);

    WalkResult result;
    testing::AsUnprivilegedUser([&] { result = Walk(root); });
    EXPECT_EQ(result.folders, (Strings{"A", "B", "C"}));
    EXPECT_EQ(result.inventory.sourceFiles,
              (Strings{"..\\..\\Src\\A\\a.c", "..\\..\\Src\\C\\c.c"}));
    EXPECT_EQ(result.errors, "Error While Accessing : " + root + "\\B :: Permission denied\n");
}

TEST(WalkSourceTree, NamesWithLineBreaksAreReportedAndLeftOut) {
    // Such names would split the lines of the new files; a folder goes with all it holds.
    TempDir tree;
    const std::string root = tree / "Src";
    WriteFile(root + "/Keep.c", "");
    WriteFile(root + "/a\nb.c", "");
    WriteFile(root + "/Sub\rDir/x.c", "");
    WriteFile(root + "/Sub/y\r.h", "");

    WalkResult result = Walk(root);
    EXPECT_EQ(result.folders, (Strings{"Sub"}));
    EXPECT_EQ(result.inventory.sourceFiles, (Strings{"..\\..\\Src\\Keep.c"}));
    EXPECT_EQ(result.inventory.headerFiles, Strings{});
    EXPECT_EQ(result.errors, "Error While Accessing : " + root +
                                 "\\a?b.c :: the name holds a line break; left out\n" +
                                 "Error While Accessing : " + root +
                                 "\\Sub\\y?.h :: the name holds a line break; left out\n" +
                                 "Error While Accessing : " + root +
                                 "\\Sub?Dir :: the name holds a line break; left out\n");
}

}  // namespace
}  // namespace tamrivo
