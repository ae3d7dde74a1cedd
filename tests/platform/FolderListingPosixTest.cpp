// Listings of what only POSIX file systems give a test: symbolic links made with symlink() and
// folders that an unprivileged user may read but not search, or not read.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "platform/FileAccess.h"
#include "platform/FolderListing.h"

namespace tamrivo {
namespace {

using testing::TempDir;
using testing::WriteFile;

// The entries of a folder by name; error receives what ended the listing.
std::map<std::string, FolderEntry> List(const std::string& folder,
                                        boost::system::error_code& error) {
    std::vector<FolderEntry> entries;
    HeldFolder held;
    error = OpenRootFolder(NativePath(folder), held);
    if (!error) {
        error = ListFolder(held, entries);
    }
    std::map<std::string, FolderEntry> byName;
    for (FolderEntry& entry : entries) {
        byName[entry.name] = entry;
    }
    return byName;
}

TEST(FolderListing, LinksAreFollowedForTheTypeButAreNoRealFolders) {
    TempDir tree;
    const std::string dir = tree / "dir";
    WriteFile(dir + "/file.c", "");
    WriteFile(tree / "Outside/o.c", "");
    ASSERT_EQ(symlink((tree / "Outside").c_str(), (dir + "/toFolder").c_str()), 0);
    ASSERT_EQ(symlink((dir + "/file.c").c_str(), (dir + "/toFile.c").c_str()), 0);
    ASSERT_EQ(symlink((tree / "missing").c_str(), (dir + "/dangling").c_str()), 0);
    ASSERT_EQ(symlink((dir + "/loop2").c_str(), (dir + "/loop1").c_str()), 0);
    ASSERT_EQ(symlink((dir + "/loop1").c_str(), (dir + "/loop2").c_str()), 0);

    boost::system::error_code error;
    const auto entries = List(dir, error);
    EXPECT_FALSE(error) << error.message();
    ASSERT_EQ(entries.size(), 6u);
    struct Expected {
        std::string name;
        bool isFolder;
        std::string statusMessage;  // empty: no error
    };
    for (const Expected& expected :
         {Expected{"file.c", false, ""}, Expected{"toFolder", true, ""},
          Expected{"toFile.c", false, ""}, Expected{"dangling", false, ""},
          Expected{"loop1", false, "Too many levels of symbolic links"},
          Expected{"loop2", false, "Too many levels of symbolic links"}}) {
        const FolderEntry& entry = entries.at(expected.name);
        EXPECT_EQ(entry.isFolder, expected.isFolder) << expected.name;
        EXPECT_FALSE(entry.isRealFolder) << expected.name;
        EXPECT_EQ(entry.statusError ? entry.statusError.message() : "", expected.statusMessage)
            << expected.name;
    }
}

TEST(FolderListing, ARootThatCannotBeReadOrSearchedIsRefused) {
    // Readable but not searchable, the root would give names whose types cannot be read and
    // sub-folders that cannot be entered: the walk would silently lose everything below it.
    for (const mode_t mode : {S_IRUSR | S_IRGRP | S_IROTH, S_IXUSR | S_IXGRP | S_IXOTH}) {
        TempDir tree;
        const std::string dir = tree / "dir";
        WriteFile(dir + "/Sub/s.c", "");
        testing::OpenToEveryone(tree.path());
        ASSERT_EQ(chmod(dir.c_str(), mode), 0);

        boost::system::error_code error;
        std::map<std::string, FolderEntry> entries;
        testing::AsUnprivilegedUser([&] { entries = List(dir, error); });
        EXPECT_EQ(error.message(), "Permission denied") << mode;
        EXPECT_TRUE(entries.empty()) << mode;
    }
}

}  // namespace
}  // namespace tamrivo
