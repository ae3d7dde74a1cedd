#include "scan/NtfsOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
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

// A start that both names share, in ASCII, leaves the order to the rest: checked for starts
// shorter and longer than the eight bytes passed over at once, and rests in either case, beyond
// ASCII (é, É and Ë, whose second bytes alone would order them otherwise) or empty.
TEST(NtfsNameLess, ASharedAsciiStartLeavesTheOrderToTheRest) {
    const Strings rests = {"",   "a",        "A",        "b",        "_",    "ab",
                           "aB", "\xc3\xa9", "\xc3\x89", "\xc3\x8b", "\xff", "a\xff"};
    std::string start;
    for (int length = 0; length <= 20; ++length) {
        for (const std::string& x : rests) {
            for (const std::string& y : rests) {
                EXPECT_EQ(NtfsNameLess(start + x, start + y), NtfsNameLess(x, y))
                    << '"' << start << x << "\" \"" << start << y << '"';
            }
        }
        start += static_cast<char>('A' + length % 3 + (length % 2) * ('a' - 'A'));
    }
}

// Wherever two names' keys differ, they order the names as NtfsNameLess does; a name with a byte
// beyond ASCII among its first eight has none (zero), any other name has one.
TEST(NtfsOrderKey, OrdersAsNtfsNameLessWhereKeysDiffer) {
    Strings names = {"\x01", "\xc3\xa9t\xc3\xa9.c", "abcdefg\xc3\xa9", "abcdefgh\xc3\xa9"};
    const std::string bytes = "aAbB_.9~\x01";
    for (std::size_t length = 1; length <= 10; ++length) {
        for (std::size_t first = 0; first < bytes.size(); ++first) {
            for (std::size_t last = 0; last < bytes.size(); ++last) {
                names.push_back(std::string(length - 1, bytes[first]) + bytes[last]);
            }
        }
    }
    for (const std::string& left : names) {
        const std::uint64_t leftKey = NtfsOrderKey(left);
        const std::string start = left.substr(0, 8);
        EXPECT_EQ(leftKey == 0,
                  std::any_of(start.begin(), start.end(),
                              [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
            << left;
        for (const std::string& right : names) {
            const std::uint64_t rightKey = NtfsOrderKey(right);
            if (leftKey != 0 && rightKey != 0 && leftKey != rightKey) {
                ASSERT_EQ(leftKey < rightKey, NtfsNameLess(left, right)) << left << " " << right;
            }
        }
    }
}

}  // namespace
}  // namespace tamrivo
