#include <gtest/gtest.h>

#include "TestSupport.h"
#include "WholeRunEndToEndTestSupport.h"

namespace tamrivo {
namespace {

using testing::ConsoleText;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

const std::string kProject = "/Src/Prj/App.vcxproj";
const std::string kFilters = "/Src/Prj/App.vcxproj.filters";

std::string MaskedIdentifiers(const std::string& text) {
    std::vector<std::string> identifiers;
    return testing::MaskFilterIdentifiers(text, identifiers);
}

// Standard output after the banner.
std::string AfterBanner(const testing::ProgramResult& result) {
    const std::string output = testing::MaskBuildDate(result.output);
    const std::string banner = ConsoleText(testing::MaskedBanner());
    EXPECT_EQ(output.substr(0, banner.size()), banner);
    return output.substr(std::min(banner.size(), output.size()));
}

// A small tree of its own and, by hand, a project and filters file that list it in another
// layout than Tamrivo's: LF line ends, an item over several lines, an item of an unknown
// extension, identifiers of GUID form, another order.
std::string HandWrittenRepo(const TempDir& dir) {
    const std::string repo = dir / "Repo";
    for (const std::string file : {"App/main.c", "App/main.h", "Lib/io.c", "Build/link.ld"}) {
        WriteFile(repo + "/Src/" + file, "");
    }
    WriteFile(
        repo + kProject,
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Project ToolsVersion=\"15.0\">\n"
        "  <ItemGroup>\n    <ClCompile Include=\"..\\..\\Src\\Lib\\io.c\" />\n"
        "    <ClCompile Include=\"..\\..\\Src\\App\\main.c\">\n"
        "      <Optimization>Full</Optimization>\n    </ClCompile>\n"
        "    <None Include=\"readme.txt\" />\n  </ItemGroup>\n  <ItemGroup>\n"
        "    <None Include=\"..\\..\\Src\\Build\\link.ld\" />\n"
        "    <ClInclude Include=\"..\\..\\Src\\App\\main.h\" />\n  </ItemGroup>\n</Project>\n");
    std::string filters = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Project>\n  <ItemGroup>\n";
    for (const std::string folder : {"Lib", "Build", "Prj", "App"}) {
        filters += "    <Filter Include=\"" + folder +
                   "\">\n      <UniqueIdentifier>{4FC737F1-C7A5-4376-A066-2A32D752A2FF}"
                   "</UniqueIdentifier>\n    </Filter>\n";
    }
    filters += "  </ItemGroup>\n  <ItemGroup>\n";
    for (const auto& [kind, path, filter] : {std::tuple{"ClInclude", "App\\main.h", "App"},
                                             {"ClCompile", "App\\main.c", "App"},
                                             {"ClCompile", "Lib\\io.c", "Lib"},
                                             {"None", "Build\\link.ld", "Build"}}) {
        filters += std::string("    <") + kind + " Include=\"..\\..\\Src\\" + path +
                   "\">\n      <Filter>" + filter + "</Filter>\n    </" + kind + ">\n";
    }
    WriteFile(repo + kFilters, filters + "  </ItemGroup>\n</Project>\n");
    return repo;
}

// Runs --Check, requires its exit code and that nothing below dir changed; gives its lines.
std::string Check(const TempDir& dir, const std::string& repo, int exitCode) {
    const auto before = testing::SnapshotTree(dir.path());
    const auto result = RunOnTheExample(repo, {"--Check"});
    EXPECT_EQ(result.exitCode, exitCode) << result.output << result.errorOutput;
    EXPECT_EQ(testing::SnapshotTree(dir.path()), before) << "--Check wrote something";
    return AfterBanner(result);
}

const std::string kInLine =
    "Tamrivo check: the project and the filters file are in line with the tree.\n";

TEST(CheckEndToEnd, InLineWhateverTheLayoutAndNotAfterAFileIsAddedRemovedOrMoved) {
    TempDir dir;
    const std::string repo = HandWrittenRepo(dir);
    EXPECT_EQ(Check(dir, repo, 0), ConsoleText(kInLine));

    WriteFile(repo + "/Src/Lib/uart.c", "");
    boost::filesystem::remove_all(repo + "/Src/Build");
    boost::filesystem::rename(repo + "/Src/App/main.h", repo + "/Src/Lib/main.h");
    EXPECT_EQ(Check(dir, repo, 1),
              ConsoleText("+ ClInclude ..\\..\\Src\\Lib\\main.h\n"
                          "- ClInclude ..\\..\\Src\\App\\main.h\n"
                          "+ ClCompile ..\\..\\Src\\Lib\\uart.c\n"
                          "- None ..\\..\\Src\\Build\\link.ld\n"
                          "~ ..\\..\\Src\\Lib\\main.h (none) -> Lib\n"
                          "~ ..\\..\\Src\\Lib\\uart.c (none) -> Lib\n"
                          "- Filter Build\n"
                          "Tamrivo check: the project and the filters file are not in line with "
                          "the tree (7 differences).\n"));

    // A project that cannot be read byte by byte is no project that lacks every file.
    const std::string project = ReadFile(repo + kProject);
    WriteFile(repo + kProject, "\xFF\xFE<");
    Check(dir, repo, 254);
    WriteFile(repo + kProject, project);

    // What a run writes is in line, once adopted.
    ASSERT_EQ(RunOnTheExample(repo).exitCode, 0);
    AdoptTheNewFiles(repo);
    EXPECT_EQ(Check(dir, repo, 0), ConsoleText(kInLine));
}

TEST(KeepIdentifiersEndToEnd, ASecondRunOnAdoptedFilesWritesTheFiltersFileAgain) {
    TempDir dir;
    const std::string repo = CopyOfTheExample(dir);
    ASSERT_EQ(RunOnTheExample(repo).exitCode, 0);
    AdoptTheNewFiles(repo);
    // An identifier of any form is kept as it is.
    std::string filters = ReadFile(repo + kFilters);
    const std::size_t first = filters.find("<UniqueIdentifier>") + 18;
    filters.replace(first, 42, "{4FC737F1-C7A5-4376-A066-2A32D752A2FF}");
    WriteFile(repo + kFilters, filters);

    ASSERT_EQ(RunOnTheExample(repo, {"--KeepIdentifiers"}).exitCode, 0);
    EXPECT_EQ(ReadFile(repo + kFilters + ".new"), filters);
}

// A tree with what a build and Visual Studio leave in it, run with the patterns a team gives,
// writes what the same tree without them writes.
TEST(ExcludeEndToEnd, TheTeamsPatternsLeaveBuildOutputsAndToolFoldersOut) {
    TempDir dir;
    const std::string clean = CopyOfTheExample(dir);
    TempDir otherDir;
    const std::string built = CopyOfTheExample(otherDir);
    for (const std::string& repo : {clean, built}) {
        WriteFile(repo + "/Src/Release/kept.bin", "");  // Prj/Release/ starts from the root
    }
    for (const std::string file : {".vs/App/v17/Browse.ini", "x64/Debug/App.exe", "Debug/fw.hex",
                                   "App/debug/app.bin", "App/App.exe", "Prj/Release/App.bin"}) {
        WriteFile(built + "/Src/" + file, "");
    }
    ASSERT_EQ(RunOnTheExample(clean).exitCode, 0);
    const auto result =
        RunOnTheExample(built, {"--Exclude=.vs/", "--Exclude=x64/", "--Exclude=Debug/",
                                "--Exclude=**/*.exe", "--Exclude=Prj/Release/"});
    ASSERT_EQ(result.exitCode, 0) << result.errorOutput;
    EXPECT_EQ(ReadFile(built + kProject + ".new"), ReadFile(clean + kProject + ".new"));
    EXPECT_EQ(MaskedIdentifiers(ReadFile(built + kFilters + ".new")),
              MaskedIdentifiers(ReadFile(clean + kFilters + ".new")));
    const std::string report = "/Src/Prj/TamrivoReport.txt";
    EXPECT_EQ(testing::MaskReportTimestamp(ReadFile(built + report)),
              testing::MaskReportTimestamp(ReadFile(clean + report)));
}

TEST(ReplaceEndToEnd, WritesOverTheOldFilesWhatARunWritesBesideThem) {
    TempDir dir;
    const std::string beside = CopyOfTheExample(dir);
    TempDir otherDir;
    const std::string over = CopyOfTheExample(otherDir);
    ASSERT_EQ(RunOnTheExample(beside).exitCode, 0);
    const auto result = RunOnTheExample(over, {"--Replace"});
    ASSERT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(testing::MaskReportTimestamp(result.output),
              testing::MaskReportTimestamp(RunOnTheExample(beside).output));
    EXPECT_EQ(ReadFile(over + kProject), ReadFile(beside + kProject + ".new"));
    EXPECT_EQ(MaskedIdentifiers(ReadFile(over + kFilters)),
              MaskedIdentifiers(ReadFile(beside + kFilters + ".new")));
    auto files = testing::SnapshotTree(over + "/Src/Prj");
    EXPECT_EQ(files.size(), 3u);  // the project, the filters file and the report
}

TEST(HelpEndToEnd, HelpAndVersionAloneTouchNoFile) {
    TempDir dir;
    const std::string repo = CopyOfTheExample(dir);
    const auto before = testing::SnapshotTree(dir.path());
    for (const std::string argument : {"--help", "-h", "/?"}) {
        const auto result = testing::RunProgram({testing::TamrivoExecutable(), argument}, repo);
        EXPECT_EQ(result.exitCode, 0) << argument;
        const std::string help = AfterBanner(result);
        EXPECT_EQ(help.rfind("Usage: Tamrivo.exe --VcxprojPath=PATH", 0), 0u) << help;
        for (const std::string option :
             {"--VcxprojPath=PATH ", "--VcxprojFiltersPath=PATH ", "--SrcPath=PATH ", "--Check ",
              "--KeepIdentifiers ", "--Exclude=PATTERN ", "--Replace ", "--help ", "--version "}) {
            EXPECT_NE(help.find(ConsoleText("\n " + option)), std::string::npos) << option;
        }
    }
    const auto version = testing::RunProgram({testing::TamrivoExecutable(), "--version"}, repo);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(testing::MaskBuildDate(version.output), ConsoleText(testing::MaskedBanner()));
    EXPECT_EQ(testing::SnapshotTree(dir.path()), before);
}

TEST(ReasonsEndToEnd, EachFailedCheckAndEachNearMissIsNamedOnStandardError) {
    TempDir dir;
    const std::string file = dir / "App.vcxproj";
    WriteFile(file, "");
    const auto result = testing::RunProgram(
        {testing::TamrivoExecutable(), "--VcxprojFilterPath=x", "--vcxprojpath=y",
         "--SrcPath=" + file, "--Exclude=a//b", "--Check", "--Replace", "--Exclude="},
        dir.path());
    EXPECT_EQ(result.exitCode, 252);
    EXPECT_EQ(result.errorOutput,
              ConsoleText("Tamrivo error: --VcxprojFilterPath=x: no option, and ignored; did "
                          "you mean --VcxprojFiltersPath?\n"
                          "Tamrivo error: --vcxprojpath=y: no option, and ignored; did you mean "
                          "--VcxprojPath?\n"
                          "Tamrivo error: --SrcPath=" +
                          file +
                          ": is not a folder\n"
                          "Tamrivo error: --VcxprojPath: missing\n"
                          "Tamrivo error: --VcxprojFiltersPath: missing\n"
                          "Tamrivo error: --Exclude=a//b: it has two separators in a row\n"
                          "Tamrivo error: --Exclude=: empty\n"
                          "Tamrivo error: --Check and --Replace: cannot be given together (one "
                          "writes nothing, the other over the old files)\n"));

    const auto second = testing::RunProgram(
        {testing::TamrivoExecutable(), "--VcxprojPath=", "--VcxprojFiltersPath=" + file,
         "--SrcPath", dir / "none"},
        dir.path());
    EXPECT_EQ(second.exitCode, 252);
    EXPECT_EQ(second.errorOutput,
              ConsoleText("Tamrivo error: --SrcPath=: empty (the value belongs in the same "
                          "argument, after \"=\")\nTamrivo error: --VcxprojPath=: empty\n"));
}

TEST(WarningsEndToEnd, ASourceRootWithoutAWholeSrcNameIsNamed) {
    for (const auto& [root, warning] :
         {std::pair{"Repo/src", "the source root's path has no \"Src\""},
          std::pair{"MySrcs/Src",
                    "the first \"Src\" of the source root's path lies inside the "
                    "name \"MySrcs\""}}) {
        TempDir dir;
        const std::string src = dir / root;
        WriteFile(src + "/App/main.c", "");
        WriteFile(src + "/Prj/App.vcxproj", "");
        WriteFile(src + "/Prj/App.vcxproj.filters", "");
        const auto result = testing::RunProgram(
            {testing::TamrivoExecutable(), "--VcxprojPath=Prj/App.vcxproj",
             "--VcxprojFiltersPath=Prj/App.vcxproj.filters", "--SrcPath=" + src},
            src);
        EXPECT_EQ(result.exitCode, 0) << root;
        EXPECT_EQ(result.errorOutput.rfind(std::string("Tamrivo warning: ") + warning, 0), 0u)
            << result.errorOutput;
        EXPECT_EQ(std::count(result.errorOutput.begin(), result.errorOutput.end(), '\n'), 1)
            << result.errorOutput;
    }
}

}  // namespace
}  // namespace tamrivo
