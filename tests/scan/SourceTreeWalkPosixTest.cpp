// Walks over what only POSIX file systems give a test: symbolic links made with symlink(),
// folders that an unprivileged user cannot read or search, a limit on open descriptors, paths
// longer than PATH_MAX and names that hold line breaks.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <string_view>

#include "SourceTreeWalkTestSupport.h"
#include "TestSupport.h"

namespace tamrivo {
namespace {

using testing::TempDir;
using testing::WriteFile;
using Strings = std::vector<std::string>;

// Makes a chain of depth folders named name below the existing folder parent, each holding a
// file f.c, by descriptors: the path library cannot create paths beyond PATH_MAX.
void MakeFolderChain(const std::string& parent, const std::string& name, int depth) {
    int folder = open(parent.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(folder, 0);
    for (int level = 0; level < depth; ++level) {
        ASSERT_EQ(mkdirat(folder, name.c_str(), 0755), 0) << level;
        const int child = openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY);
        close(folder);
        ASSERT_GE(child, 0) << level;
        folder = child;
        const int file = openat(folder, "f.c", O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(file, 0) << level;
        close(file);
    }
    close(folder);
}

// Runs work while the process may open only free descriptors beyond those open now.
template <typename Work>
void WithFreeDescriptors(int free, const Work& work) {
    const int probe = open("/dev/null", O_RDONLY);
    ASSERT_GE(probe, 0);
    close(probe);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = static_cast<rlim_t>(probe + free);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &limited), 0);
    work();
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &saved), 0);
}

// Walks the tree's folder Src as an unprivileged user after giving its folder B the mode; A, B
// and C hold one source file each (B one more, in Sub).
WalkResult WalkWithFolderBLimited(const TempDir& tree, mode_t mode) {
    const std::string root = tree / "Src";
    WriteFile(root + "/A/a.c", "");
    WriteFile(root + "/B/Sub/deep.c", "");
    WriteFile(root + "/B/b.c", "");
    WriteFile(root + "/C/c.c", "");
    testing::OpenToEveryone(tree.path());
    EXPECT_EQ(chmod((root + "/B").c_str(), mode), 0);
    WalkResult result;
    testing::AsUnprivilegedUser([&] { result = Walk(root); });
    return result;
}

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
    const WalkResult result = WalkWithFolderBLimited(tree, 0);
    EXPECT_EQ(result.folders, (Strings{"A", "B", "C"}));
    EXPECT_EQ(result.inventory.sourceFiles,
              (Strings{"..\\..\\Src\\A\\a.c", "..\\..\\Src\\C\\c.c"}));
    EXPECT_EQ(result.errors, "Error While Accessing : " + root + "\\B :: Permission denied\n");
}

TEST(WalkSourceTree, AFolderReadableButNotSearchableReportsEachEntryAndIsNotEntered) {
    TempDir tree;
    const std::string root = tree / "Src";
    const WalkResult result = WalkWithFolderBLimited(tree, S_IRUSR | S_IRGRP | S_IROTH);
    // The entries' names are listed, so they are classified; their types cannot be read, so Sub
    // is no folder and is not entered (which would only fail once more).
    EXPECT_EQ(result.folders, (Strings{"A", "B", "C"}));
    EXPECT_EQ(result.inventory.sourceFiles,
              (Strings{"..\\..\\Src\\A\\a.c", "..\\..\\Src\\B\\b.c", "..\\..\\Src\\C\\c.c"}));
    EXPECT_EQ(result.errors, "Error While Accessing : " + root + "\\B\\b.c :: Permission denied\n" +
                                 "Error While Accessing : " + root +
                                 "\\B\\Sub :: Permission denied\n");
}

TEST(WalkSourceTree, ADeepTreeIsWalkedWholeWithFewDescriptors) {
    TempDir tree;
    const std::string root = tree / "Src";
    WriteFile(root + "/z.c", "");
    constexpr int kDepth = 40;
    MakeFolderChain(root, "D", kDepth);

    // Allow two descriptors beyond those open now: far fewer than the tree has levels, so that
    // the walk must let go of the folders above and find them again on its way back.
    WalkResult result;
    WithFreeDescriptors(2, [&] { result = Walk(root); });

    EXPECT_EQ(result.errors, "");
    ASSERT_EQ(result.folders.size(), static_cast<std::size_t>(kDepth));
    EXPECT_EQ(result.inventory.sourceFiles.size(), static_cast<std::size_t>(kDepth) + 1);
    EXPECT_EQ(result.inventory.sourceFiles.back(), "..\\..\\Src\\z.c");
}

TEST(WalkSourceTree, ATreeDeeperThanThePathLimitIsWalkedWhole) {
    TempDir tree;
    const std::string root = tree / "Src";
    WriteFile(root + "/z.c", "");
    const std::string name(250, 'd');
    // Two levels beyond the first whose path reaches PATH_MAX.
    const int depth = static_cast<int>((PATH_MAX - root.size()) / (name.size() + 1)) + 3;
    MakeFolderChain(root, name, depth);

    const WalkResult result = Walk(root);
    std::string folder;
    Strings folders;
    Strings sources = {"..\\..\\Src\\z.c"};
    for (int level = 1; level <= depth; ++level) {
        folder += (level > 1 ? "\\" : "") + name;
        folders.push_back(folder);
        // A folder's sub-folder comes before its f.c, so the deepest f.c is met first.
        sources.insert(sources.begin(), "..\\..\\Src\\" + folder + "\\f.c");
    }
    // Compared whole, but not printed: the paths run to thousands of characters.
    EXPECT_TRUE(result.folders == folders) << result.folders.size() << " folders";
    EXPECT_TRUE(result.inventory.sourceFiles == sources)
        << result.inventory.sourceFiles.size() << " source files";
    EXPECT_EQ(result.errors.substr(0, 200), "");

    // The path library cannot remove what lies beyond PATH_MAX.
    EXPECT_EQ(testing::RunProgram({"rm", "-rf", root}, tree.path()).exitCode, 0);
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

TEST(WalkSourceTree, ThreadsSideBySideFindWhatOneThreadFinds) {
    // Where the walk is cut into parts depends on when threads wait for work, so each count of
    // threads walks the tree several times. Errors and left-out names stand at every depth, in
    // parts and where parts are spliced in.
    TempDir tree;
    const std::string root = tree / "Src";
    const std::string excluded = "/Src_ThirdParty/Src_QRX5/Src_VORN-QRX5/Tools";
    std::vector<std::string> folders = {root};
    for (int level = 0; level < 4; ++level) {
        std::vector<std::string> below;
        for (const std::string& folder : folders) {
            // c0.h and its like are folders and header files at once.
            for (const std::string_view name : {"a", "B", "c", "D", "e"}) {
                below.push_back(folder + "/" + std::string(name) + std::to_string(level) +
                                (name == "c" ? ".h" : ""));
                WriteFile(below.back() + "/f.c", "");
                WriteFile(below.back() + "/g.txt", "");
            }
            WriteFile(folder + "/h.h", "");
            WriteFile(folder + excluded + "/x.c", "");
            ASSERT_EQ(symlink("loop.h", (folder + "/loop.h").c_str()), 0);
            ASSERT_EQ(symlink(".", (folder + "/self").c_str()), 0);
            WriteFile(folder + "/line\nbreak/i.c", "");
        }
        folders = below;
    }

    const WalkResult alone = Walk(root, 1);
    ASSERT_EQ(alone.folders.size(), 156u * 9u);
    ASSERT_NE(alone.errors, "");
    for (const std::size_t threads : {2, 3, 4}) {
        for (int walk = 0; walk < 8; ++walk) {
            EXPECT_TRUE(Walk(root, threads) == alone) << threads << " threads, walk " << walk;
        }
    }
}

TEST(WalkSourceTree, ThreadsShareFewDescriptorsWithoutRunningShort) {
    // A comb: a chain of folders z, each also holding a folder a with a sub-folder of its own.
    // While one thread is deep in the chain, another walks the a folders handed to it.
    TempDir tree;
    const std::string root = tree / "Src";
    constexpr int kDepth = 80;
    std::string folder = root;
    for (int level = 0; level < kDepth; ++level) {
        WriteFile(folder + "/a/s/leaf.c", "");
        WriteFile(folder + "/f.c", "");
        folder += "/z";
    }

    WalkResult alone;
    std::vector<WalkResult> shared;
    WithFreeDescriptors(kDepth / 2, [&] {
        alone = Walk(root, 1);
        for (int walk = 0; walk < 8; ++walk) {
            shared.push_back(Walk(root, 2));
        }
    });

    EXPECT_EQ(alone.errors, "");
    EXPECT_EQ(alone.folders.size(), 3u * kDepth - 1u);
    for (const WalkResult& result : shared) {
        EXPECT_EQ(result.errors.substr(0, 300), "");
        EXPECT_TRUE(result == alone);
    }
}

}  // namespace
}  // namespace tamrivo
