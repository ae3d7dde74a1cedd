// The banner of the real Tamrivo.exe, from the version resource that the build compiled into it.
#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>

#include "TestSupport.h"
#include "app/Banner.h"

namespace tamrivo {
namespace {

std::string Banner(const std::string& programPath) {
    std::ostringstream output;
    PrintBanner(programPath, output);
    return testing::MaskBuildDate(output.str());
}

// This test program itself: a program without a version resource.
std::string ThisProgram() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length);
}

TEST(PrintBanner, PrintsTheVersionResourceOfTamrivoExe) {
    const std::string program = testing::TamrivoExecutable();
    EXPECT_EQ(Banner(program), testing::MaskedBanner());
    // Started as "Tamrivo", the program is Tamrivo.exe all the same.
    const std::string withoutExtension = program.substr(0, program.size() - 4);
    ASSERT_EQ(program.substr(withoutExtension.size()), ".exe");
    EXPECT_EQ(Banner(withoutExtension), testing::MaskedBanner());
}

TEST(PrintBanner, PrintsNothingForAProgramWithoutVersionResource) {
    EXPECT_EQ(Banner(ThisProgram()), "");
    testing::TempDir dir;
    testing::WriteFile(dir / "Tamrivo.exe", "MZ not really a program");
    EXPECT_EQ(Banner(dir / "Tamrivo.exe"), "");
    EXPECT_EQ(Banner(dir / "missing.exe"), "");
}

}  // namespace
}  // namespace tamrivo
