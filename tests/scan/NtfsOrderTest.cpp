#include "scan/NtfsOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tamrivo {
namespace {

using Strings = std::vector<std::string>;

TEST(NtfsNameLess, SortsAsWindowsListsNtfsFolders) {
    Strings names = {"zeta.c", "_x.c", "b.txt", "Sub",    "9.c", "Alpha.h",
                     "sub2",   "10.c", "a.c",   "Beta.c", "A.c", "a"};
    std::sort(names.begin(), names.end(), NtfsNameLess);
    EXPECT_EQ(names, (Strings{"10.c", "9.c", "a", "A.c", "a.c", "Alpha.h", "b.txt", "Beta.c", "Sub",
                              "sub2", "zeta.c", "_x.c"}));
}

// Letters beyond ASCII fold to upper case too (мир before Модуль, though "м" is the greater
// byte), and names compare as UTF-16: a character beyond the Basic Multilingual Plane (its
// surrogates, 0xD83D) before a fullwidth letter (0xFF21), although its UTF-8 bytes are greater.
TEST(NtfsNameLess, FoldsEveryScriptAndComparesUtf16CodeUnits) {
    const Strings ordered = {"a",
                             "a\xff",
                             "zed.c",
                             "\xc3\xa9t\xc3\xa9.c",       // été.c
                             "\xc3\x89t\xc3\xa9.h",       // Été.h
                             "\xc3\xbf",                  // ÿ, whose upper case is U+0178
                             "\xd0\xbc\xd0\xb8\xd1\x80",  // мир
                             "\xd0\x9c\xd0\xbe\xd0\xb4\xd1\x83\xd0\xbb\xd1\x8c",  // Модуль
                             "\xd0\xaf\xd1\x80\xd0\xb4",                          // Ярд
                             "\xe6\x97\xa5\xe6\x9c\xac",                          // 日本
                             "\xf0\x9f\x98\x80.c",                                // 😀.c
                             "\xef\xbc\xa1"};                                     // Ａ
    Strings names = ordered;
    std::reverse(names.begin(), names.end());
    std::sort(names.begin(), names.end(), NtfsNameLess);
    EXPECT_EQ(names, ordered);
}

}  // namespace
}  // namespace tamrivo
