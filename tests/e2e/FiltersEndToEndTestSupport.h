#pragma once

#include <gtest/gtest.h>

#include <boost/filesystem/operations.hpp>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace tamrivo {

// What the new filters file holds after its two head lines when the tree has no folders or files.
inline const std::vector<std::string> kEmptyGroups = {
    "  <ItemGroup>",  "  </ItemGroup>", "  <ItemGroup>",  "  </ItemGroup>", "  <ItemGroup>",
    "  </ItemGroup>", "  <ItemGroup>",  "  </ItemGroup>", "</Project>"};

// A source root named Src with the project and its filters file in Prj beside it.
class FiltersRun : public ::testing::Test {
  protected:
    FiltersRun() {
        testing::WriteFile(project_, "<Project>\r\n</Project>\r\n");
        boost::filesystem::create_directories(src_);
    }

    testing::ProgramResult Run(bool unprivileged = false) {
        return testing::RunProgram({testing::TamrivoExecutable(), "--VcxprojPath=" + project_,
                                    "--VcxprojFiltersPath=" + filters_, "--SrcPath=" + src_},
                                   work_.path(), unprivileged);
    }

    // The run went on to its end with the exit code of a failed file and the error line.
    static void ExpectFailedRun(const testing::ProgramResult& result, const std::string& error) {
        EXPECT_EQ(result.exitCode, 254);
        EXPECT_NE(result.output.find("Tamrivo error: " + error), std::string::npos)
            << result.output;
    }

    // The new filters file with its identifiers masked; the identifiers go to identifiers.
    std::string NewFilters(std::vector<std::string>& identifiers) const {
        return testing::MaskFilterIdentifiers(testing::ReadFile(filters_ + ".new"), identifiers);
    }

    testing::TempDir work_;
    const std::string project_ = work_ / "Repo/Prj/App.vcxproj";
    const std::string filters_ = work_ / "Repo/Prj/App.vcxproj.filters";
    const std::string src_ = work_ / "Repo/Src";
};

}  // namespace tamrivo
