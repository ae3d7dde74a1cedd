// Runs of the real executable on broken inputs, faulty outputs and hostile trees. Each ends in a
// defined outcome, and none changes the old project, the old filters file or the tree.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <boost/filesystem/operations.hpp>
#include <climits>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"

namespace tamrivo {
namespace {

using testing::CrLfLines;
using testing::ProgramResult;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;
using Strings = std::vector<std::string>;

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
const std::string kProjectElement =
    "<Project DefaultTargets=\"Build\" ToolsVersion=\"15.0\" "
    "xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">";
const std::string kFiltersElement =
    "<Project ToolsVersion=\"4.0\" xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">";
const std::string kProject = CrLfLines({kDeclaration, kProjectElement, "  <ItemGroup>",
                                        "    <ClCompile Include=\"..\\..\\Src\\gone.c\" />",
                                        "  </ItemGroup>", "</Project>"});
const std::string kFilters = CrLfLines({kDeclaration, kFiltersElement, "</Project>"});

// The new project's groups for a tree that holds only a.c.
const Strings kGroups = {"  <ItemGroup>",  "  </ItemGroup>",
                         "  <ItemGroup>",  "    <ClCompile Include=\"..\\..\\Src\\a.c\" />",
                         "  </ItemGroup>", "  <ItemGroup>",
                         "  </ItemGroup>"};

// The new filters file after its two kept lines, for a tree that holds only a.c.
const Strings kFilterGroups = {"  <ItemGroup>",
                               "  </ItemGroup>",
                               "  <ItemGroup>",
                               "    <ClCompile Include=\"..\\..\\Src\\a.c\"> ",
                               "      <Filter></Filter> ",
                               "    </ClCompile> ",
                               "  </ItemGroup>",
                               "  <ItemGroup>",
                               "  </ItemGroup>",
                               "  <ItemGroup>",
                               "  </ItemGroup>",
                               "</Project>"};

Strings Joined(Strings lines, const Strings& more) {
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

bool HasLine(const std::string& text, const std::string& line) {
    return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

// A sub-folder of an open folder, not through a link; -1 when it cannot be opened.
int OpenSubFolder(int folder, const std::string& name) {
    return openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// The names in an open folder, without "." and "..".
Strings NamesIn(int folder) {
    Strings names;
    DIR* listing = fdopendir(dup(folder));
    if (listing == nullptr) {
        return names;
    }
    while (const dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    closedir(listing);
    std::sort(names.begin(), names.end());
    return names;
}

// Every entry below an open folder: path, type and permissions, size, modification time and a
// link's target. Unlike SnapshotTree it goes through folder descriptors, so that no path length
// limits the depth, and it sees a change of permissions or times.
void ListBelow(int folder, const std::string& prefix, Strings& listing) {
    for (const std::string& name : NamesIn(folder)) {
        struct stat status {};
        fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW);
        std::string line = prefix + name + " " + std::to_string(status.st_mode) + " " +
                           std::to_string(status.st_size) + " " +
                           std::to_string(status.st_mtim.tv_sec) + "." +
                           std::to_string(status.st_mtim.tv_nsec);
        if (S_ISLNK(status.st_mode)) {
            char target[PATH_MAX] = {};
            line += " -> " +
                    std::string(target, std::max<ssize_t>(0, readlinkat(folder, name.c_str(),
                                                                        target, sizeof target)));
        }
        listing.push_back(line);
        if (S_ISDIR(status.st_mode)) {
            const int sub = OpenSubFolder(folder, name);
            ListBelow(sub, prefix + name + "/", listing);
            close(sub);
        }
    }
}

Strings TreeListing(const std::string& root) {
    Strings listing;
    const int folder = open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ListBelow(folder, "", listing);
    close(folder);
    return listing;
}

// Removes everything below an open folder, however deep.
void RemoveBelow(int folder) {
    for (const std::string& name : NamesIn(folder)) {
        const int sub = OpenSubFolder(folder, name);
        if (sub >= 0) {
            fchmod(sub, 0700);
            RemoveBelow(sub);
            close(sub);
            unlinkat(folder, name.c_str(), AT_REMOVEDIR);
        } else {
            unlinkat(folder, name.c_str(), 0);
        }
    }
}

void MakeFileAt(int folder, const std::string& name) {
    close(openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
}

// A source tree work/Src holding a.c, with the project and filters file in work/Prj, so that
// the report lands beside them.
struct TreeRun {
    TempDir work;
    std::string src = work / "Src";
    std::string prj = work / "Prj";
    std::string project = prj + "/App.vcxproj";
    std::string filters = prj + "/App.vcxproj.filters";
    std::string report = prj + "/TamrivoReport.txt";

    explicit TreeRun(const std::string& projectBytes = kProject,
                     const std::string& filtersBytes = kFilters) {
        WriteFile(project, projectBytes);
        WriteFile(filters, filtersBytes);
        WriteFile(src + "/a.c", "");
    }
    // The deep tree test makes folders beyond the path length limit, where ~TempDir cannot
    // reach; everything is cleared by descriptors first.
    ~TreeRun() {
        const int folder = open(work.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        RemoveBelow(folder);
        close(folder);
    }

    // Runs Tamrivo, killed after a minute so that a hang fails, and checks that the old files
    // and the tree are as they were, byte for byte and entry for entry.
    ProgramResult operator()(bool unprivileged = false) const {
        const std::string oldProject = ReadFile(project);
        const std::string oldFilters = ReadFile(filters);
        const Strings oldTree = TreeListing(src);
        EXPECT_FALSE(oldTree.empty()) << "the tree cannot be listed";
        ProgramResult result = testing::RunProgram(
            {"timeout", "60", testing::TamrivoExecutable(), "--VcxprojPath=" + project,
             "--VcxprojFiltersPath=" + filters, "--SrcPath=" + src},
            work.path(), unprivileged);
        EXPECT_NE(result.exitCode, 124) << "the run did not end within a minute";
        EXPECT_EQ(ReadFile(project), oldProject) << "the old project changed";
        EXPECT_EQ(ReadFile(filters), oldFilters) << "the old filters file changed";
        EXPECT_EQ(TreeListing(src), oldTree) << "the tree changed";
        return result;
    }

    // The text with %P, %F, %R and %S replaced by the project, filters, report and tree paths.
    std::string Expand(std::string text) const {
        for (const auto& [mark, path] : {std::pair<std::string, std::string>{"%P", project},
                                         {"%F", filters},
                                         {"%R", report},
                                         {"%S", src}}) {
            for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark)) {
                text.replace(at, mark.size(), path);
            }
        }
        return text;
    }
};

// The summary's old counts, as they follow their heading on standard output.
std::string OldCounts(int headers, int sources, int others) {
    return "Files in old Vcxproj:\n-----------------------\nNumber of Header Files: " +
           std::to_string(headers) + "\nNumber of Source Files: " + std::to_string(sources) +
           "\nNumber of Other  Files: " + std::to_string(others) + "\n";
}

TEST(RobustnessEndToEnd, OutputsOnAFullDiskOrOnAnInputAreReportedAndTheRunGoesOn) {
    struct Case {
        std::string output;  // made a link to the target
        std::string target;
        std::string errorLine;
        int exitCode;
    };
    const std::vector<Case> cases = {
        {"%P.new", "/dev/full",
         "Tamrivo error: Cannot write the new project file: %P.new (No space left on device)", 254},
        {"%F.new", "/dev/full",
         "Tamrivo error: Cannot write the new filters file: %F.new (No space left on device)", 254},
        // The report only informs: its failure leaves the exit code alone.
        {"%R", "/dev/full",
         "Tamrivo error: Cannot write the report file: %R (No space left on device)", 0},
        {"%P.new", "App.vcxproj",
         "Tamrivo error: Refusing to write the new project file: %P.new (it is an input file of "
         "this run)",
         254},
        {"%F.new", "App.vcxproj.filters",
         "Tamrivo error: Refusing to write the new filters file: %F.new (it is an input file of "
         "this run)",
         254},
    };
    for (const Case& c : cases) {
        TreeRun run;
        const std::string link = run.Expand(c.output);
        ASSERT_EQ(symlink(c.target.c_str(), link.c_str()), 0);
        const ProgramResult result = run();

        EXPECT_EQ(result.exitCode, c.exitCode) << c.output << " -> " << c.target;
        EXPECT_TRUE(HasLine(result.output, run.Expand(c.errorLine))) << result.output;
        EXPECT_EQ(result.errorOutput, "");
        EXPECT_TRUE(boost::filesystem::is_symlink(link)) << "the link was replaced";
        // The other outputs are written as usual.
        for (const std::string& output : {run.project + ".new", run.filters + ".new", run.report}) {
            if (output != link) {
                EXPECT_NE(ReadFile(output), "") << output;
            }
        }
    }
}

TEST(RobustnessEndToEnd, UnwritableOutputsAndUnreadableInputsOfAnUnprivilegedRun) {
    struct Case {
        std::string name;
        std::function<void(const TreeRun&)>
            takeAway;  // after the work folder was opened to everyone
        int exitCode;
        Strings outputLines;  // each somewhere on standard output
        std::string errorOutput;
        std::string newFile;  // when not empty, the new file that must hold newFileBytes
        std::string newFileBytes;
    };
    const std::vector<Case> cases = {
        {"output folder read-only",
         [](const TreeRun& run) { chmod(run.prj.c_str(), 0555); },
         254,
         {"Tamrivo error: Cannot create the new project file: %P.new (Permission denied)",
          "Tamrivo error: Cannot create the new filters file: %F.new (Permission denied)",
          "Tamrivo error: Cannot create the report file: %R (Permission denied)"},
         "",
         "",
         ""},
        // An unreadable input is reported, and its new file is written without its lines.
        {"project unreadable",
         [](const TreeRun& run) { chmod(run.project.c_str(), 0); },
         254,
         {"Tamrivo error: Cannot read the project file: %P (Permission denied)"},
         "",
         "%P.new",
         CrLfLines(Joined(kGroups, {"</Project>"}))},
        {"filters file unreadable",
         [](const TreeRun& run) { chmod(run.filters.c_str(), 0); },
         254,
         {"Tamrivo error: Cannot read the filters file: %F (Permission denied)"},
         "",
         "%F.new",
         CrLfLines(Joined({"", ""}, kFilterGroups))},
        {"source folder unreadable",
         [](const TreeRun& run) {
             WriteFile(run.src + "/Locked/hidden.c", "");
             chmod((run.src + "/Locked").c_str(), 0);
         },
         0,
         {},
         "Error While Accessing : %S\\Locked :: Permission denied\n",
         "",
         ""},
        // The paths cannot even be looked at: the command line is refused, nothing is written.
        {"project folder closed",
         [](const TreeRun& run) { chmod(run.prj.c_str(), 0700); },
         252,
         {"Tamrivo error: Cannot access the path of --VcxprojPath: %P (Permission denied)",
          "Tamrivo error: Cannot access the path of --VcxprojFiltersPath: %F (Permission denied)",
          "Tamrivo error: Something is wrong with input directories."},
         "",
         "",
         ""},
    };
    for (const Case& c : cases) {
        TreeRun run;
        testing::OpenToEveryone(run.work.path());
        c.takeAway(run);
        const ProgramResult result = run(true);

        EXPECT_EQ(result.exitCode, c.exitCode) << c.name << "\n" << result.output;
        for (const std::string& line : c.outputLines) {
            EXPECT_TRUE(HasLine(result.output, run.Expand(line))) << c.name << "\n"
                                                                  << result.output;
        }
        EXPECT_EQ(result.errorOutput, run.Expand(c.errorOutput)) << c.name;
        if (!c.newFile.empty()) {
            EXPECT_EQ(ReadFile(run.Expand(c.newFile)), c.newFileBytes) << c.name;
        }
    }
}

TEST(RobustnessEndToEnd, ATreeDeeperThanThePathLimitIsWalkedAsFarAsTheSystemReaches) {
    // Folders of 200-character names, 24 deep: made and removed by descriptors, as no path to
    // the deepest of them fits the limit. The first folder whose path does not fit is listed,
    // reported and not entered; each folder that fits is listed, with its file f.c.
    constexpr int kDepth = 24;
    constexpr std::size_t kPathLimit = PATH_MAX;  // the terminating NUL included
    TreeRun run;
    std::string native = run.src + "/Deep";
    std::string windows = run.src + "\\Deep";
    std::string folderText = "Deep";
    ASSERT_EQ(mkdir(native.c_str(), 0755), 0);
    int folder = open(native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);

    Strings filterLines = {"    <Filter Include=\"Deep\"> "};
    Strings sourceLines = {"    <ClCompile Include=\"..\\..\\Src\\a.c\" />"};
    std::string errorOutput;
    for (int level = 0; level < kDepth; ++level) {
        const std::string name =
            std::string(2, static_cast<char>('a' + level)) + std::string(198, 'd');
        ASSERT_EQ(mkdirat(folder, name.c_str(), 0755), 0);
        const int sub = OpenSubFolder(folder, name);
        close(folder);
        folder = sub;
        native += "/" + name;
        windows += "\\" + name;
        folderText += "\\" + name;

        const bool folderFits = native.size() < kPathLimit;
        const bool fileFits = native.size() + 4 < kPathLimit;
        // No file where only the folder fits: the file alone would be one more error line.
        if (fileFits || !folderFits) {
            MakeFileAt(folder, "f.c");
        }
        if (errorOutput.empty() && folderFits) {
            filterLines.push_back("    <Filter Include=\"" + folderText + "\"> ");
            if (fileFits) {
                sourceLines.push_back("    <ClCompile Include=\"..\\..\\Src\\" + folderText +
                                      "\\f.c\" />");
            }
        } else if (errorOutput.empty()) {
            // The first folder that does not fit is still listed from its parent, then cannot
            // be opened itself.
            filterLines.push_back("    <Filter Include=\"" + folderText + "\"> ");
            errorOutput = "Error While Accessing : " + windows + " :: File name too long\n";
        }
    }
    close(folder);
    ASSERT_NE(errorOutput, "") << "the tree is not deeper than the limit";

    const ProgramResult result = run();
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(result.output.find("Tamrivo error"), std::string::npos) << result.output;
    EXPECT_EQ(result.errorOutput, errorOutput);
    const std::string newProject = ReadFile(run.project + ".new");
    const std::string newFilters = ReadFile(run.filters + ".new");
    for (const std::string& line : sourceLines) {
        EXPECT_TRUE(HasLine(newProject, line + "\r")) << line.substr(0, 80);
    }
    for (const std::string& line : filterLines) {
        EXPECT_TRUE(HasLine(newFilters, line + "\r")) << line.substr(0, 80);
    }
    // Nothing else: the head, three groups, the files and the closing line; in the filters file
    // three lines for each folder and file.
    EXPECT_EQ(std::count(newProject.begin(), newProject.end(), '\n'), 9 + sourceLines.size());
    EXPECT_EQ(std::count(newFilters.begin(), newFilters.end(), '\n'),
              11 + 3 * (filterLines.size() + sourceLines.size()));
}

TEST(RobustnessEndToEnd, TenThousandEntriesInOneFolder) {
    constexpr int kCount = 10000;
    TreeRun run;
    ASSERT_EQ(mkdir((run.src + "/Many").c_str(), 0755), 0);
    const int folder = open((run.src + "/Many").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    Strings items;
    for (int i = 0; i < kCount; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "f%05d.c", i);
        MakeFileAt(folder, name);
        items.push_back("    <ClCompile Include=\"..\\..\\Src\\Many\\" + std::string(name) +
                        "\" />");
    }
    close(folder);
    const ProgramResult result = run();
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.errorOutput, "");
    // Walked in name order (a.c before the folder Many), the group lists the last entry first.
    items.insert(items.begin(), "    <ClCompile Include=\"..\\..\\Src\\a.c\" />");
    std::reverse(items.begin(), items.end());
    EXPECT_EQ(
        ReadFile(run.project + ".new"),
        CrLfLines(Joined(Joined({kDeclaration, kProjectElement, "  <ItemGroup>", "  </ItemGroup>",
                                 "  <ItemGroup>"},
                                items),
                         {"  </ItemGroup>", "  <ItemGroup>", "  </ItemGroup>", "</Project>"})));
    const std::string newFilters = ReadFile(run.filters + ".new");
    EXPECT_EQ(std::count(newFilters.begin(), newFilters.end(), '\n'), 11 + 3 * (1 + kCount + 1));
    EXPECT_NE(result.output.find("Files in the specified Src path:\n"
                                 "-------------------------------------------\n"
                                 "Number of Header Files: 0\nNumber of Source Files: 10001\n"),
              std::string::npos)
        << result.output;
}

TEST(RobustnessEndToEnd, OddNamesAreWrittenByteForByteButEscaped) {
    // Not UTF-8 (Latin-1, stray bytes, a cut sequence), blanks, XML's special characters: each
    // name and how the new files spell it.
    const std::vector<std::pair<std::string, std::string>> names = {
        {"caf\xe9.c", "caf\xe9.c"},
        {"\xff\xfe.h", "\xff\xfe.h"},
        {"cut\xe2\x82.c", "cut\xe2\x82.c"},
        {"a b.c", "a b.c"},
        {"R&D.c", "R&amp;D.c"},
        {"say \"hi\".h", "say &quot;hi&quot;.h"},
        {"it's <x>.c", "it's &lt;x&gt;.c"}};
    const std::string folder = "Odd & \"Q\"";
    const std::string escapedFolder = "Odd &amp; &quot;Q&quot;";
    TreeRun run;
    for (const auto& [name, escaped] : names) {
        WriteFile(run.src + "/" + folder + "/" + name, "");
    }
    WriteFile(run.src + "/" + folder + "/two\nlines.c", "");
    const ProgramResult result = run();

    EXPECT_EQ(result.exitCode, 0);
    // A name with a line break would split the lines of the new files: it is left out.
    EXPECT_EQ(result.errorOutput, "Error While Accessing : " + run.src + "\\" + folder +
                                      "\\two?lines.c :: the name holds a line break; left out\n");
    const std::string newProject = ReadFile(run.project + ".new");
    const std::string newFilters = ReadFile(run.filters + ".new");
    const std::string report = ReadFile(run.report);
    EXPECT_TRUE(HasLine(newFilters, "    <Filter Include=\"" + escapedFolder + "\"> \r"));
    for (const auto& [name, escaped] : names) {
        const std::string path = "..\\..\\Src\\" + escapedFolder + "\\" + escaped;
        const std::string kind = name.back() == 'h' ? "ClInclude" : "ClCompile";
        EXPECT_TRUE(HasLine(newProject, "    <" + kind + " Include=\"" + path + "\" />\r")) << name;
        EXPECT_TRUE(HasLine(newFilters, "    <" + kind + " Include=\"" + path + "\"> \r")) << name;
        EXPECT_TRUE(HasLine(newFilters, "      <Filter>" + escapedFolder + "</Filter> \r")) << name;
        // The report lists the tree's paths as they are.
        EXPECT_TRUE(HasLine(report, "..\\..\\Src\\" + folder + "\\" + name + "\r")) << name;
    }
    EXPECT_EQ(newProject.find("lines.c"), std::string::npos);
    EXPECT_EQ(newFilters.find("lines.c"), std::string::npos);
}

// A filter definition as the new filters file holds it, its identifier masked.
Strings FilterDefinition(const std::string& folder) {
    return {"    <Filter Include=\"" + folder + "\"> ",
            "      <UniqueIdentifier>{" + std::string(40, 'x') + "}</UniqueIdentifier> ",
            "    </Filter > "};
}

TEST(RobustnessEndToEnd, LinksToAncestorsAreListedButNotEntered) {
    TreeRun run;
    WriteFile(run.src + "/App/b.c", "");
    ASSERT_EQ(symlink("..", (run.src + "/App/up").c_str()), 0);
    ASSERT_EQ(symlink("../..", (run.src + "/App/top.h").c_str()), 0);
    ASSERT_EQ(symlink(".", (run.src + "/App/here").c_str()), 0);
    ASSERT_EQ(symlink("loop", (run.src + "/App/loop").c_str()), 0);
    const ProgramResult result = run();

    EXPECT_EQ(result.exitCode, 0);
    // A link that resolves to nothing is reported; the others are folders, classified by name.
    EXPECT_EQ(result.errorOutput, "Error While Accessing : " + run.src +
                                      "\\App\\loop :: Too many levels of symbolic links\n");
    EXPECT_EQ(ReadFile(run.project + ".new"),
              CrLfLines({kDeclaration, kProjectElement, "  <ItemGroup>", "  </ItemGroup>",
                         "  <ItemGroup>", "    <ClCompile Include=\"..\\..\\Src\\App\\b.c\" />",
                         "    <ClCompile Include=\"..\\..\\Src\\a.c\" />", "  </ItemGroup>",
                         "  <ItemGroup>", "    <ClInclude Include=\"..\\..\\Src\\App\\top.h\" />",
                         "  </ItemGroup>", "</Project>"}));
    Strings definitions = {kDeclaration, kFiltersElement, "  <ItemGroup>"};
    for (const char* folder : {"App", "App\\here", "App\\top.h", "App\\up"}) {
        definitions = Joined(definitions, FilterDefinition(folder));
    }
    definitions.push_back("  </ItemGroup>");
    Strings identifiers;
    const std::string newFilters =
        testing::MaskFilterIdentifiers(ReadFile(run.filters + ".new"), identifiers);
    EXPECT_EQ(newFilters.substr(0, CrLfLines(definitions).size()), CrLfLines(definitions));
}

// The new project for an old one that keeps the given lines around the new groups.
std::string NewProject(const Strings& head, const Strings& rest) {
    return CrLfLines(Joined(Joined(head, kGroups), Joined(rest, {"</Project>"})));
}

// 0x00 to 0xFF three times over: every byte, line feeds and lone carriage returns among them.
std::string EveryByteThrice() {
    std::string bytes;
    for (int round = 0; round < 3; ++round) {
        for (int byte = 0; byte < 256; ++byte) {
            bytes.push_back(static_cast<char>(byte));
        }
    }
    return bytes;
}

// The lines that EveryByteThrice splits into: up to each line feed; the rest has no line end.
Strings EveryByteLines() {
    std::string first;
    for (int byte = 0; byte < '\n'; ++byte) {
        first.push_back(static_cast<char>(byte));
    }
    std::string full;
    for (int byte = '\n' + 1; byte < 256; ++byte) {
        full.push_back(static_cast<char>(byte));
    }
    return {first, full + first, full + first, full};
}

TEST(RobustnessEndToEnd, BrokenProjectFilesGetTheirDefinedNewFile) {
    const std::string fiftyMegabytes(50 << 20, 'x');
    const Strings bytes = EveryByteLines();
    struct Case {
        std::string name;
        std::string project;
        std::string newProject;
        int oldSources;  // as the summary counts them
    };
    const std::vector<Case> cases = {
        {"binary", EveryByteThrice(), NewProject({bytes[0], bytes[1]}, {bytes[2]}), 0},
        {"NUL bytes",
         CrLfLines({kDeclaration + '\0', kProjectElement, "  <ItemGroup>",
                    std::string("    <ClCompile Include=\"a\0b.c\" />", 33), "  </ItemGroup>",
                    "</Project>"}),
         NewProject({kDeclaration + '\0', kProjectElement}, {}), 1},
        // A last line without a line end is not taken: with none at all, nothing is.
        {"no line end",
         kDeclaration + kProjectElement + "<ItemGroup><ClCompile Include=\"x.c\" /></ItemGroup>",
         NewProject({}, {}), 0},
        // A carriage return alone ends no line.
        {"carriage returns alone",
         kDeclaration + "\r" + kProjectElement +
             "\r  <ItemGroup>\r    <ClCompile Include=\"x.c\" />\r" +
             "  </ItemGroup>\r</Project>\r",
         NewProject({}, {}), 0},
        {"a 50 MB item line",
         CrLfLines({kDeclaration, kProjectElement, "  <ItemGroup>",
                    "    <ClCompile Include=\"" + fiftyMegabytes + ".c\" />", "  </ItemGroup>",
                    "</Project>"}),
         NewProject({kDeclaration, kProjectElement}, {}), 1},
        {"a 50 MB other line",
         CrLfLines(
             {kDeclaration, kProjectElement, "  <X>" + fiftyMegabytes + "</X>", "</Project>"}),
         NewProject({kDeclaration, kProjectElement}, {"  <X>" + fiftyMegabytes + "</X>"}), 0},
    };
    for (const Case& c : cases) {
        TreeRun run(c.project);
        const ProgramResult result = run();
        EXPECT_EQ(result.exitCode, 0) << c.name;
        EXPECT_EQ(result.output.find("Tamrivo error"), std::string::npos) << c.name;
        EXPECT_NE(result.output.find(OldCounts(0, c.oldSources, 0)), std::string::npos) << c.name;
        EXPECT_TRUE(ReadFile(run.project + ".new") == c.newProject) << c.name;
    }
}

TEST(RobustnessEndToEnd, BrokenFiltersFilesGiveTheirHeadOrTheirFirstTwoLines) {
    const std::string fiftyMegabytes(50 << 20, 'y');
    const std::string mostBytesOfALine(64 << 10, 'y');  // what is kept of a longer line
    const Strings bytes = EveryByteLines();
    struct Case {
        std::string name;
        std::string filters;
        Strings head;  // the lines that the new filters file keeps
    };
    const std::vector<Case> cases = {
        {"binary", EveryByteThrice(), {bytes[0], bytes[1]}},
        {"NUL bytes",
         std::string("a\0b\r\n\0\r\nc\r\n", 11),
         {std::string("a\0b", 3), std::string(1, '\0')}},
        // The start tag ends on the first line, which has no line end.
        {"no line end", kDeclaration + kFiltersElement, {kDeclaration + kFiltersElement}},
        {"carriage returns alone",
         kDeclaration + "\r" + kFiltersElement + "\r</Project>\r",
         {kDeclaration + "\r" + kFiltersElement + "\r</Project>\r"}},
        // No start tag before a line too long to read whole: that line, cut, and an empty one.
        {"a 50 MB line",
         CrLfLines({fiftyMegabytes, kFiltersElement, "</Project>"}),
         {mostBytesOfALine, ""}},
    };
    for (const Case& c : cases) {
        TreeRun run(kProject, c.filters);
        const ProgramResult result = run();
        EXPECT_EQ(result.exitCode, 0) << c.name;
        EXPECT_EQ(result.output.find("Tamrivo error"), std::string::npos) << c.name;
        EXPECT_TRUE(ReadFile(run.filters + ".new") == CrLfLines(Joined(c.head, kFilterGroups)))
            << c.name;
    }
}

TEST(RobustnessEndToEnd, AFiltersFileWithoutEndIsReadOnlyThroughItsHead) {
    // Endless random bytes, and 200 MB without a line end (a sparse file of NUL bytes): the run
    // reads a bounded start of either, and its peak memory stays far below what it did not read.
    constexpr long kMostPeakKilobytes = 100 << 10;
    const std::vector<std::pair<std::string, std::function<void(const std::string&)>>> cases = {
        {"/dev/urandom",
         [](const std::string& path) { ASSERT_EQ(symlink("/dev/urandom", path.c_str()), 0); }},
        {"200 MB in one line",
         [](const std::string& path) {
             WriteFile(path, "");
             ASSERT_EQ(truncate(path.c_str(), 200 << 20), 0);
         }},
    };
    for (const auto& [name, make] : cases) {
        TreeRun run;
        boost::filesystem::remove(run.filters);
        make(run.filters);
        const ProgramResult result =
            testing::RunProgram({"timeout", "20", "/usr/bin/time", "-f", "peak %M",
                                 testing::TamrivoExecutable(), "--VcxprojPath=" + run.project,
                                 "--VcxprojFiltersPath=" + run.filters, "--SrcPath=" + run.src},
                                run.work.path());
        EXPECT_EQ(result.exitCode, 0) << name << "\n" << result.output;
        EXPECT_EQ(result.output.find("Tamrivo error"), std::string::npos) << name;
        const std::size_t peak = result.errorOutput.rfind("peak ");
        ASSERT_NE(peak, std::string::npos) << name << "\n" << result.errorOutput;
        EXPECT_LT(std::stol(result.errorOutput.substr(peak + 5)), kMostPeakKilobytes) << name;
        // The new file holds two lines of the old one, each at most 64 KiB, then the groups.
        const std::string newFilters = ReadFile(run.filters + ".new");
        const std::string groups = CrLfLines(kFilterGroups);
        EXPECT_LE(newFilters.size(), 2 * ((64 << 10) + 2) + groups.size()) << name;
        EXPECT_EQ(newFilters.substr(newFilters.size() - std::min(newFilters.size(), groups.size())),
                  groups)
            << name;
    }
}

}  // namespace
}  // namespace tamrivo
