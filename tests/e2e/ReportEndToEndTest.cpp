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

const std::string kProject =
    CrLfLines({"<?xml version=\"1.0\" encoding=\"utf-8\"?>",
               "<Project DefaultTargets=\"Build\" ToolsVersion=\"15.0\" "
               "xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">",
               "</Project>"});
const std::string kFilters = CrLfLines(
    {"<?xml version=\"1.0\" encoding=\"utf-8\"?>",
     "<Project ToolsVersion=\"4.0\" xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">",
     "</Project>"});

// A project without file items two levels below the folder that holds Src, and a few files.
void WriteTree(const TempDir& work) {
    WriteFile(work / "Repo/Src/Prj/App.vcxproj", kProject);
    WriteFile(work / "Repo/Src/Prj/App.vcxproj.filters", kFilters);
    for (const char* file : {"a.c", "App/main.c", "App/Main.h", "B/z.c", "Build/link.ld",
                             "Lib/io.c", "Lib/io.h", "Docs/notes.txt"}) {
        WriteFile(work / "Repo/Src/" + file, "");
    }
}

std::vector<std::string> Summary() {
    return {"Tamrivo.exe report TamrivoReport.txt: <timestamp>",
            "",
            "Tamrivo Report:",
            "--------------------------",
            "",
            "Files in old Vcxproj:",
            "-----------------------",
            "Number of Header Files: 0",
            "Number of Source Files: 0",
            "Number of Other  Files: 0",
            "",
            "Files in the specified Src path:",
            "-------------------------------------------",
            "Number of Header Files: 2",
            "Number of Source Files: 4",
            "Number of Other  Files: 1",
            "",
            "List of new added files:",
            "------------------------",
            "Number of Header Files: 2",
            "Number of Source Files: 4",
            "Number of Other  Files: 1",
            ""};
}

// The banner and the lines as standard output carries them.
std::string ConsoleText(const std::vector<std::string>& lines) {
    std::string text = testing::MaskedBanner();
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return testing::ConsoleText(text);
}

std::string Masked(const std::string& text) {
    return testing::MaskReportTimestamp(testing::MaskBuildDate(text));
}

std::vector<std::string> Arguments(const std::string& projectFolder, const TempDir& work) {
    return {TamrivoExecutable(), "--VcxprojPath=" + projectFolder + "/App.vcxproj",
            "--VcxprojFiltersPath=" + projectFolder + "/App.vcxproj.filters",
            "--SrcPath=" + work / "Repo/Src"};
}

TEST(ReportEndToEnd, WritesTheReportInTheFiltersFolderRelativeToTheWorkingFolder) {
    TempDir work;
    WriteTree(work);
    WriteFile(work / "Repo/Src/Prj/TamrivoReport.txt", std::string(4000, '-') + "\r\n");
    const auto result = RunProgram(Arguments("Prj", work), work / "Repo/Src");

    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(Masked(result.output), ConsoleText(Summary()));
    EXPECT_EQ(result.errorOutput, "");
    std::vector<std::string> report = Summary();
    report.insert(report.end(), {"List of added header files:", "-----------------------------",
                                 "..\\..\\Src\\App\\Main.h", "..\\..\\Src\\Lib\\io.h", "",
                                 "List of added source files:", "-----------------------------",
                                 "..\\..\\Src\\App\\main.c", "..\\..\\Src\\B\\z.c",
                                 "..\\..\\Src\\Lib\\io.c", "..\\..\\Src\\a.c", "",
                                 "List of added other files:", "----------------------------",
                                 "..\\..\\Src\\Build\\link.ld"});
    EXPECT_EQ(Masked(ReadFile(work / "Repo/Src/Prj/TamrivoReport.txt")), CrLfLines(report));
    EXPECT_EQ(ReadFile(work / "Repo/Src/Prj/App.vcxproj"), kProject);
    EXPECT_EQ(ReadFile(work / "Repo/Src/Prj/App.vcxproj.filters"), kFilters);
}

TEST(ReportEndToEnd, AMissingReportFolderLeavesTheSummaryAndOneErrorLine) {
    TempDir work;
    WriteTree(work);
    const auto result = RunProgram(Arguments("Repo/Src/Prj", work), work.path());

    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(Masked(result.output),
              ConsoleText(Summary()) +
                  testing::ConsoleText("Tamrivo error: Cannot create the report file: " +
                                       testing::NativeSeparators("Prj\\TamrivoReport.txt") +
                                       " (No such file or directory)\n"));
    EXPECT_FALSE(testing::FileExists(work / "Prj"));
}

}  // namespace
}  // namespace tamrivo
