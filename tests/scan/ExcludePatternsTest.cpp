#include "scan/ExcludePatterns.h"

#include <gtest/gtest.h>

namespace tamrivo {
namespace {

bool Excludes(std::string_view text, std::string_view path, bool isFolder = false) {
    std::string reason;
    const std::optional<ExcludePattern> pattern = ParseExcludePattern(text, reason);
    EXPECT_TRUE(pattern) << text << ": " << reason;
    return pattern && IsExcluded({*pattern}, path, isFolder);
}

TEST(ExcludePatterns, MatchNamesAndWholePathsBelowTheRoot) {
    // A name without a separator, at any depth; a trailing separator for folders only.
    EXPECT_TRUE(Excludes("Debug/", "Prj\\Debug", true));
    EXPECT_FALSE(Excludes("Debug/", "Prj\\Debug", false));
    EXPECT_TRUE(Excludes(".vs", ".vs", true));
    EXPECT_TRUE(Excludes("*.exe", "x64\\Debug\\App.exe"));
    // With a separator the pattern starts at the root; either separator, in path and pattern.
    EXPECT_TRUE(Excludes("Prj/Release/", "Prj/Release", true));
    EXPECT_TRUE(Excludes("\\Prj\\Release\\", "Prj\\Release", true));
    EXPECT_FALSE(Excludes("Prj/Release/", "App\\Prj\\Release", true));
    // "**" any number of whole names, none included; '*' and '?' within one name.
    EXPECT_TRUE(Excludes("**/*.exe", "App.exe"));
    EXPECT_TRUE(Excludes("a/**/b", "a\\b"));
    EXPECT_TRUE(Excludes("a/**/b/**/c", "a\\x\\b\\y\\b\\c"));
    EXPECT_FALSE(Excludes("a/*/c", "a\\x\\y\\c"));
    EXPECT_TRUE(Excludes("Lib?/*_test.c", "Lib1\\io_test.c"));
    EXPECT_FALSE(Excludes("Lib?", "Lib12", true));
    EXPECT_TRUE(Excludes("?.c", "\xC3\xA9.c"));  // one character of two bytes
    EXPECT_TRUE(Excludes("*a*b*c", "xaybbzc"));
    // ASCII letters regardless of case, other bytes exactly.
    EXPECT_TRUE(Excludes("x64/", "X64", true));
    EXPECT_FALSE(Excludes("\xC3\xA9.c", "\xC3\x89.c"));
}

// Nested "**" and '*' against long paths that almost match: an exponential search would not end.
TEST(ExcludePatterns, NestedWildcardsOnLongPathsEnd) {
    std::string pattern;
    std::string path;
    for (int i = 0; i < 60; ++i) {
        pattern += "**/";
        path += std::string(60, 'a') + "\\";
    }
    EXPECT_FALSE(Excludes(pattern + "*a*a*a*a*a*a*a*b", path + std::string(200, 'a')));
}

TEST(ExcludePatterns, RefuseWhatCannotBeAPattern) {
    for (const char* text : {"", "/", "a//b", "a/./b", "../a", "a**/b"}) {
        std::string reason;
        EXPECT_FALSE(ParseExcludePattern(text, reason)) << text;
        EXPECT_FALSE(reason.empty()) << text;
    }
}

}  // namespace
}  // namespace tamrivo
