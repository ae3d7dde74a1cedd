// The walk on Windows: the system's own listing order and paths in Windows form.
#include <gtest/gtest.h>

#include <algorithm>
#include <boost/filesystem/directory.hpp>

#include "SourceTreeWalkTestSupport.h"
#include "TestSupport.h"
#include "platform/FileAccess.h"

namespace tamrivo {
namespace {

using testing::TempDir;
using testing::WriteFile;
using Strings = std::vector<std::string>;

// The walk sorts every listing itself, so that Linux gives the order that Windows gives on NTFS;
// here the system's own order must already be that one.
TEST(NtfsNameLessOnWindows, IsTheOrderInWhichTheSystemListsAFolder) {
    TempDir dir;
    const Strings names = {"zeta.c", "_x.c",  "b.txt",  "Sub",  "9.c",   "Alpha.h", "sub2",
                           "10.c",   "a.c",   "Beta.c", "a",    "a-b.c", "a_b.c",   "a.b",
                           "a~b.c",  "a b.c", "[x].h",  "^y.c", "`q.c",  "{z}.c",   "~t.c",
                           "!e.c",   "#h.c",  "$d.c",   "%p.c", "&a.c",  "'s.c",    "(r).c",
                           "+p.c",   ",c.c",  ";s.c",   "=e.c", "@a.c",  "]b.h",    "0",
                           "00",     "0a",    "Z.c",    "zz",   "ab",    "aB.c",    "abc"};
    for (const std::string& name : names) {
        WriteFile(dir / name, "");
    }
    Strings listed;
    for (boost::filesystem::directory_iterator entry(NativePath(dir.path())), end; entry != end;
         ++entry) {
        listed.push_back(NarrowString(entry->path().filename()));
    }
    Strings sorted = names;
    std::sort(sorted.begin(), sorted.end(), NtfsNameLess);
    EXPECT_EQ(listed, sorted);
}

TEST(WalkSourceTreeOnWindows, TakesARootInWindowsFormWithBackslashes) {
    TempDir tree;
    WriteFile(tree / "proj/Src/App/Core/main.c", "");
    WriteFile(tree / "proj/Src/App/util.h", "");
    const std::string root = tree.path() + "\\proj\\Src";
    const WalkResult result = Walk(root);
    EXPECT_EQ(result.folders, (Strings{"App", "App\\Core"}));
    EXPECT_EQ(result.inventory.sourceFiles, (Strings{"..\\..\\Src\\App\\Core\\main.c"}));
    EXPECT_EQ(result.inventory.headerFiles, (Strings{"..\\..\\Src\\App\\util.h"}));
    EXPECT_EQ(result.errors, "");
}

}  // namespace
}  // namespace tamrivo
