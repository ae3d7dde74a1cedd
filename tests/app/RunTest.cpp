#include "app/Run.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tamrivo {
namespace {

// An argument vector without even the program's path (execve allows it) has no banner to print.
TEST(RunTamrivo, AnEmptyArgumentVectorIsRefusedWithoutABanner) {
    std::ostringstream output;
    std::ostringstream errorOutput;
    EXPECT_EQ(RunTamrivo({}, output, errorOutput), kExitRefused);
    EXPECT_EQ(output.str(),
              "Tamrivo error: Not enough command line arguments.\n"
              "Usage: Tamrivo.exe\n"
              " --VcxprojPath        = \n"
              " --VcxprojFiltersPath = \n"
              " --SrcPath            = \n"
              "Tamrivo error: Something is wrong with input directories.\n"
              "Tamrivo error: Please check the command line input directories.\n");
    EXPECT_EQ(errorOutput.str(),
              "Tamrivo error: --SrcPath: missing\nTamrivo error: --VcxprojPath: missing\n"
              "Tamrivo error: --VcxprojFiltersPath: missing\n");
}

}  // namespace
}  // namespace tamrivo
