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
    FolderChain chain;
    error = EnterRootFolder(chain, NativePath(folder), entries);
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

TEST(FolderListing, FolderPermissionsDecideBetweenNoListingAndFailingQueries) {
    struct Case {
        mode_t mode;
        std::string openMessage;  // empty: the folder opens
        std::size_t entryCount;   // each of them with a failed query
    };
    for (const Case& c : {Case{S_IRUSR | S_IRGRP | S_IROTH, "", 2},  // readable, not searchable
                          Case{S_IXUSR | S_IXGRP | S_IXOTH, "Permission denied", 0}}) {
        TempDir tree;
        const std::string dir = tree / "dir";
        WriteFile(dir + "/Sub/s.c", "");
        WriteFile(dir + "/a.c", "");
        testing::OpenToEveryone(tree.path());
        ASSERT_EQ(chmod(dir.c_str(), c.mode), 0);

        boost::system::error_code error;
        std::map<std::string, FolderEntry> entries;
        testing::AsUnprivilegedUser([&] { entries = List(dir, error); });
        EXPECT_EQ(error ? error.message() : "", c.openMessage) << c.mode;
        ASSERT_EQ(entries.size(), c.entryCount) << c.mode;
        for (const auto& [name, entry] : entries) {
            EXPECT_EQ(entry.statusError.message(), "Permission denied") << name;
            EXPECT_FALSE(entry.isFolder) << name;
            // Its contents could not be listed either: the folder is not offered for entering.
            EXPECT_FALSE(entry.isRealFolder) << name;
        }
    }
}

}  // namespace
}  // namespace tamrivo
