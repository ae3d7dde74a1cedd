#include "scan/PathRules.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "PathRulesCases.h"

namespace tamrivo {
namespace {

TEST(TrimThroughSrc, CutsThroughTheFirstMarkerAndOneByte) {
    const PathCases cases = {
        {"C:\\proj\\Src\\App\\Core", "App\\Core"},
        {"C:\\proj\\Src\\App", "App"},
        {"C:\\proj\\Src", ""},
        {"Src\\App", "App"},
        {"C:\\proj\\Srcs\\App", "\\App"},
        {"C:\\MySrc\\App", "App"},
        {"C:\\Src\\Lib\\Src\\x", "Lib\\Src\\x"},
        {"C:\\proj\\src\\App", "C:\\proj\\src\\App"},
        {"C:\\proj\\code\\App", "C:\\proj\\code\\App"},
        {"", ""},
        {"C:\\proj\\Src\\", ""},
    };
    for (const auto& [input, expected] : cases) {
        std::string path = input;
        const std::string result = TrimThroughSrc(path);
        EXPECT_EQ(result, expected) << input;
        EXPECT_EQ(path, expected) << "the string itself is trimmed: " << input;
    }
}

TEST(ParentFolderRelativeToSrc, TakesTheWindowsParentThenTrims) {
    for (const auto& [input, expected] : kParentFolderRelativeToSrcCases) {
        std::string path = input;
        EXPECT_EQ(ParentFolderRelativeToSrc(path), expected) << input;
        EXPECT_EQ(path, expected) << input;
    }
}

TEST(ParentFolderViewRelativeToSrc, ViewsWhatParentFolderRelativeToSrcMakesAndKeepsThePath) {
    for (const PathCases* cases : {&kParentFolderRelativeToSrcCases, &kWindowsParentPathCases}) {
        for (const auto& [input, unused] : *cases) {
            std::string copy = input;
            const std::string expected = ParentFolderRelativeToSrc(copy);
            EXPECT_EQ(ParentFolderViewRelativeToSrc(input), expected) << input;
        }
    }
}

TEST(WindowsParentPath, KeepsRootsAndDropsSeparatorRuns) {
    for (const auto& [input, expected] : kWindowsParentPathCases) {
        EXPECT_EQ(WindowsParentPath(input), expected) << input;
    }
}

TEST(IsOutsideExcludedFolders, FindsTheMarkersAnywhere) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"C:\\proj\\Src\\App\\main.c", true},
        {"C:\\proj\\Src\\Src_ThirdParty\\Src_QRX5\\Src_VORN-QRX5\\Tools\\gen.c", false},
        {"C:\\proj\\Src\\Src_ThirdParty\\Src_QRX5\\Src_VORN-QRX5\\ToolsOld", false},
        {"C:\\proj\\Src\\Src_ThirdParty\\Src_QRX5\\Src_VORN-QRX5\\tools", true},
        {"C:\\proj\\Src\\Src_ThirdParty\\Src_QRX5\\Src_VORN-QRX5", true},
        {"x\\Src_ThirdParty\\Src_QRX5\\Src_VORN-QRX5\\Releases", false},
        {"Src_ThirdParty\\Src_QRX5\\Src_VORN-QRX5\\ReviewDocument\\a.h", false},
        {"Src_ThirdParty/Src_QRX5/Src_VORN-QRX5/Tools", true},
        {"x\\Src_ThirdParty\\Src_QRX5\\Src_VORN-QRX5\\Src_ThirdParty\\Src_QRX5\\Src_VORN-"
         "QRX5\\Tools",
         false},
        {"", true},
    };
    for (const auto& [input, expected] : cases) {
        EXPECT_EQ(IsOutsideExcludedFolders(input), expected) << input;
    }
}

}  // namespace
}  // namespace tamrivo
