// Our Windows parent path rule against the path library's own, which only a Windows build has:
// elsewhere the library parses none of these paths the Windows way.
#include <gtest/gtest.h>

#include <boost/filesystem/path.hpp>
#include <random>
#include <string>
#include <vector>

#include "PathRulesCases.h"
#include "scan/PathRules.h"

namespace tamrivo {
namespace {

std::string LibraryParentPath(const std::string& path) {
    return boost::filesystem::path(path).parent_path().string();
}

// Compares both rules on each path; lists every path where they differ.
void ExpectSameParents(const std::vector<std::string>& paths) {
    std::size_t differences = 0;
    for (const std::string& path : paths) {
        const std::string library = LibraryParentPath(path);
        const std::string ours = WindowsParentPath(path);
        if (ours != library && ++differences <= 50) {
            ADD_FAILURE() << "parent of [" << path << "]: ours [" << ours << "], library ["
                          << library << "]";
        }
    }
    EXPECT_EQ(differences, 0u) << "of " << paths.size() << " paths";
}

std::vector<std::string> InputsOf(const PathCases& cases) {
    std::vector<std::string> inputs;
    for (const auto& [input, expected] : cases) {
        inputs.push_back(input);
    }
    return inputs;
}

TEST(WindowsParentPathOnWindows, AgreesWithTheLibraryOnTheTables) {
    ExpectSameParents(InputsOf(kWindowsParentPathCases));
    ExpectSameParents(InputsOf(kParentFolderRelativeToSrcCases));
    for (const auto& [input, expected] : kParentFolderRelativeToSrcCases) {
        std::string parent = LibraryParentPath(input);
        EXPECT_EQ(TrimThroughSrc(parent), expected) << input;
    }
}

// Random paths: a root-like prefix (or none), then a mix of name characters, separators, colons,
// question marks and dots, with runs of separators and trailing separators.
std::vector<std::string> GeneratedPaths(std::size_t count) {
    const std::vector<std::string> prefixes = {
        "",
        "",
        "",
        "C:",
        "c:\\",
        "Z:/",
        "\\",
        "/",
        "\\\\",
        "//",
        "\\\\host",
        "\\\\host\\",
        "//host/share/",
        "\\\\?\\",
        "\\\\.\\",
        "\\??\\",
        "//?/",
        "\\\\?\\C:\\",
        "\\\\?\\UNC\\host\\",
        "\\\\.\\pipe\\",
        "prn:",
        "com1:",
        "a$:",
        "\\\\\\",
        "C:\\\\",
        "1:",
    };
    const std::string pieces = "aBz0\\/:?.";
    std::mt19937 random(20261208);
    std::uniform_int_distribution<std::size_t> pickPrefix(0, prefixes.size() - 1);
    std::uniform_int_distribution<std::size_t> pickPiece(0, pieces.size() - 1);
    std::uniform_int_distribution<int> pickLength(0, 10);
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < count; ++i) {
        std::string path = prefixes[pickPrefix(random)];
        for (int length = pickLength(random); length > 0; --length) {
            path += pieces[pickPiece(random)];
        }
        paths.push_back(path);
    }
    return paths;
}

TEST(WindowsParentPathOnWindows, AgreesWithTheLibraryOnGeneratedPaths) {
    ExpectSameParents(GeneratedPaths(200000));
}

// Every string of up to six characters from an alphabet that holds every kind of character the
// rule treats specially (a letter, a digit and a dollar sign for drive and device names).
TEST(WindowsParentPathOnWindows, AgreesWithTheLibraryOnAllShortStrings) {
    const std::string alphabet = "a0$\\/:?.";
    std::vector<std::string> paths = {""};
    for (std::size_t begin = 0, length = 0; length < 6; ++length) {
        const std::size_t end = paths.size();
        for (std::size_t i = begin; i < end; ++i) {
            for (const char c : alphabet) {
                paths.push_back(paths[i] + c);
            }
        }
        begin = end;
    }
    ExpectSameParents(paths);
}

}  // namespace
}  // namespace tamrivo
