#include "scan/Classification.h"

#include "model/ExtensionTables.h"

#include <gtest/gtest.h>

namespace tamrivo {
namespace {

SourceInventory Scanned(const std::vector<std::string>& paths) {
    SourceInventory inventory;
    for (std::string path : paths) {
        ClassifyScannedPath(path, inventory);
    }
    return inventory;
}

using Strings = std::vector<std::string>;

TEST(ClassifyScannedPath, SortsKnownExtensionsInProjectPathForm) {
    const SourceInventory inventory = Scanned({
        "C:\\proj\\Src\\App\\main.c",
        "C:\\proj\\Src\\App\\main.h",
        "C:\\proj\\Src\\Build\\link.ld",
        "C:\\proj\\Src\\App\\util.hpp",
        "C:\\proj\\Src\\App\\util.cpp",
        "C:\\proj\\Src\\lib\\libm.a",
        "C:\\proj\\Src\\Config.ini",
        "C:\\proj\\Src\\main.bak.c",
    });
    EXPECT_EQ(inventory.headerFiles,
              (Strings{"..\\..\\Src\\App\\main.h", "..\\..\\Src\\App\\util.hpp"}));
    EXPECT_EQ(inventory.sourceFiles,
              (Strings{"..\\..\\Src\\App\\main.c", "..\\..\\Src\\App\\util.cpp",
                       "..\\..\\Src\\main.bak.c"}));
    EXPECT_EQ(inventory.otherFiles,
              (Strings{"..\\..\\Src\\Build\\link.ld", "..\\..\\Src\\lib\\libm.a",
                       "..\\..\\Src\\Config.ini"}));
}

TEST(ClassifyScannedPath, LeavesUnknownAndWrongCaseExtensionsOut) {
    const SourceInventory inventory = Scanned({
        "C:\\proj\\Src\\App\\notes.txt",
        "C:\\proj\\Src\\App\\start.asm",
        "C:\\proj\\Src\\App\\Makefile",
        "C:\\proj\\Src\\main.C",
        "C:\\proj\\Src\\main.CPP",
        "C:\\proj\\Src\\main.H",
        "C:\\proj\\Src\\start.S",
        "C:\\proj\\Src\\main.c.bak",
        "C:\\proj\\Src\\Src_ThirdParty\\Src_QRX5\\Src_VORN-QRX5\\Tools\\gen.c",
    });
    EXPECT_TRUE(inventory.headerFiles.empty());
    EXPECT_TRUE(inventory.sourceFiles.empty());
    EXPECT_TRUE(inventory.otherFiles.empty());
}

TEST(MakeProjectPath, ReplacesEverythingBeforeTheFirstSrc) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"C:\\MySrcs\\Src\\main.c", "..\\..\\Srcs\\Src\\main.c"},
        {"C:\\proj\\code\\main.c", "C:\\proj\\code\\main.c"},
        {"Src\\main.c", "..\\..\\Src\\main.c"},
        {"/home/u/Repo/Src\\App\\main.c", "..\\..\\Src\\App\\main.c"},
    };
    for (const auto& [input, expected] : cases) {
        std::string path = input;
        EXPECT_EQ(MakeProjectPath(path), expected);
        EXPECT_EQ(path, expected);
    }
}

TEST(ClassifyOldItems, UsesTheSmallerTableAndKeepsEntriesAsWritten) {
    const OldItemList oldItems = {"util.hpp",
                                  "board.project",
                                  "config.xdm",
                                  "rules.gmk",
                                  "libm.a",
                                  "util.h",
                                  "main.c",
                                  "util.cpp",
                                  "start.s",
                                  "build.bat",
                                  "C:\\anything\\x.c",
                                  ".h",
                                  "main.c"};
    InventoryViews inventory;
    ClassifyOldItems(oldItems, inventory);
    using Views = std::vector<std::string_view>;
    EXPECT_EQ(inventory.headerFiles, (Views{"util.h", ".h"}));
    EXPECT_EQ(inventory.sourceFiles, (Views{"main.c", "util.cpp", "C:\\anything\\x.c", "main.c"}));
    EXPECT_EQ(inventory.otherFiles, (Views{"start.s", "build.bat"}));
    EXPECT_EQ(inventory.sourceFiles[0].data(), oldItems[6].data()) << "a view, not a copy";
}

TEST(ExtensionTables, NoExtensionEndsAnother) {
    for (const auto& outer : ScanExtensionTable) {
        for (const auto& inner : ScanExtensionTable) {
            if (&outer != &inner && outer.extension.size() > inner.extension.size()) {
                EXPECT_NE(outer.extension.substr(outer.extension.size() - inner.extension.size()),
                          inner.extension);
            }
        }
    }
}

}  // namespace
}  // namespace tamrivo
