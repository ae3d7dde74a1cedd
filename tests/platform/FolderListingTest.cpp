#include "platform/FolderListing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <boost/filesystem/operations.hpp>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "platform/FileAccess.h"

namespace tamrivo {
namespace {

using testing::TempDir;
using testing::WriteFile;

// An entry as the tests compare it: name, folder, real folder, failed status query.
struct Seen {
    std::string name;
    bool isFolder;
    bool isRealFolder;
    bool failed;
    bool operator==(const Seen& other) const {
        return name == other.name && isFolder == other.isFolder &&
               isRealFolder == other.isRealFolder && failed == other.failed;
    }
};

std::ostream& operator<<(std::ostream& out, const Seen& seen) {
    return out << seen.name << (seen.isFolder ? " folder" : "")
               << (seen.isRealFolder ? " real" : "") << (seen.failed ? " failed" : "");
}

// The entries of a folder sorted by name; error receives what ended the listing.
std::vector<Seen> List(const std::string& folder, boost::system::error_code& error) {
    std::vector<FolderEntry> entries;
    HeldFolder held;
    error = OpenRootFolder(NativePath(folder), held);
    if (!error) {
        error = ListFolder(held, entries);
    }
    std::vector<Seen> seen;
    for (const FolderEntry& entry : entries) {
        seen.push_back(
            {entry.name, entry.isFolder, entry.isRealFolder, static_cast<bool>(entry.statusError)});
    }
    std::sort(seen.begin(), seen.end(),
              [](const Seen& left, const Seen& right) { return left.name < right.name; });
    return seen;
}

TEST(FolderListing, GivesEveryEntryWithTheTypeItsStatusQueryFound) {
    TempDir dir;
    WriteFile(dir / "a.c", "bytes");
    WriteFile(dir / "Sub/inner.h", "");
    WriteFile(dir / ".hidden", "");
    boost::filesystem::create_directories(dir / "Empty.h");

    boost::system::error_code error;
    const std::vector<Seen> seen = List(dir.path(), error);
    EXPECT_FALSE(error) << error.message();
    EXPECT_EQ(seen, (std::vector<Seen>{{".hidden", false, false, false},
                                       {"Empty.h", true, true, false},
                                       {"Sub", true, true, false},
                                       {"a.c", false, false, false}}));
}

TEST(FolderListing, AFolderThatCannotBeOpenedGivesItsErrorAndAppendsNothing) {
    TempDir dir;
    WriteFile(dir / "file.c", "");
    for (const std::string& folder : {dir / "missing", dir / "file.c"}) {
        std::vector<FolderEntry> entries(1);
        entries.front().name = "kept";
        HeldFolder held;
        const boost::system::error_code error = OpenRootFolder(NativePath(folder), held);
        EXPECT_TRUE(error) << folder;
        ASSERT_EQ(entries.size(), 1u) << folder;
        EXPECT_EQ(entries.front().name, "kept");
    }
}

}  // namespace
}  // namespace tamrivo
