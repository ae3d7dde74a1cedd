#include <gtest/gtest.h>

#include "TestSupport.h"

namespace tamrivo {
namespace {

using testing::CrLfLines;
using testing::ReadFile;
using testing::RunProgram;
using testing::TamrivoExecutable;
using testing::TempDir;
using testing::WriteFile;

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
const std::string kProject =
    "<Project DefaultTargets=\"Build\" ToolsVersion=\"15.0\" "
    "xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">";
const std::string kImport = "  <Import Project=\"$(VCTargetsPath)\\Microsoft.Cpp.targets\" />";

// The new groups for a tree Src holding a.cpp, b.cpp and x.h.
const std::vector<std::string> kNewGroups = {
    "  <ItemGroup>",
    "  </ItemGroup>",
    "  <ItemGroup>",
    "    <ClCompile Include=\"..\\..\\Src\\b.cpp\" />",
    "    <ClCompile Include=\"..\\..\\Src\\a.cpp\" />",
    "  </ItemGroup>",
    "  <ItemGroup>",
    "    <ClInclude Include=\"..\\..\\Src\\x.h\" />",
    "  </ItemGroup>",
};

// A tree Src with three files, beside a folder Prj for the project and its filters file.
struct ProjectTree {
    TempDir work;
    std::string project = work / "Prj/App.vcxproj";
    std::string filters = work / "Prj/App.vcxproj.filters";

    ProjectTree() {
        for (const char* name : {"b.cpp", "x.h", "a.cpp"}) {
            WriteFile(work / ("Src/" + std::string(name)), "");
        }
        WriteFile(filters, "");
    }

    testing::ProgramResult Run(const std::string& projectArgument) const {
        return RunProgram({TamrivoExecutable(), "--VcxprojPath=" + projectArgument,
                           "--VcxprojFiltersPath=" + filters, "--SrcPath=" + work / "Src"},
                          work.path());
    }
};

std::vector<std::string> Then(std::vector<std::string> lines,
                              const std::vector<std::string>& more) {
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

TEST(ProjectEndToEnd, WritesTheNewProjectAndLeavesTheOldOne) {
    ProjectTree tree;
    const std::string old =
        CrLfLines({kDeclaration, kProject, "  <ItemGroup>",
                   "    <ClCompile Include=\"..\\..\\Src\\a.cpp\" />", "  </ItemGroup>", kImport}) +
        "</Project>";
    WriteFile(tree.project, old);

    const auto result = tree.Run(tree.project);
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(result.output.find("Tamrivo error"), std::string::npos) << result.output;
    EXPECT_EQ(ReadFile(tree.project + ".new"),
              CrLfLines(Then(Then({kDeclaration, kProject}, kNewGroups), {kImport, "</Project>"})));
    EXPECT_EQ(ReadFile(tree.project), old);
}

TEST(ProjectEndToEnd, AProjectThatIsAFolderGivesNoNewFileAndNoReport) {
    ProjectTree tree;
    const std::string folder = tree.work / "Prj/Folder.vcxproj";
    WriteFile(folder + "/keep", "");
    WriteFile(folder + ".new", "previous");

    const auto result = tree.Run(folder);
    EXPECT_EQ(result.exitCode, 254);
    EXPECT_NE(
        result.output.find(testing::ConsoleText(
            "Tamrivo error: Cannot read the project file: " + folder + " (it is a folder)\n")),
        std::string::npos)
        << result.output;
    EXPECT_EQ(ReadFile(folder + ".new"), "previous");
    // The report compares with the project: neither its summary nor its file.
    EXPECT_EQ(result.output.find("Tamrivo Report:"), std::string::npos) << result.output;
    EXPECT_FALSE(testing::FileExists(tree.work / "Prj/TamrivoReport.txt"));
}

}  // namespace
}  // namespace tamrivo
