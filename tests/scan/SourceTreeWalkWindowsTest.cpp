// The walk on Windows: the system's own listing order and paths in Windows form.
#include <gtest/gtest.h>

#include "SourceTreeWalkTestSupport.h"
#include "TestSupport.h"

namespace tamrivo {
namespace {

using testing::TempDir;
using testing::WriteFile;
using Strings = std::vector<std::string>;

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
