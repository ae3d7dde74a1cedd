// Runs of the real executable on broken inputs, faulty outputs and hostile trees. Each ends in a
// defined outcome, and none changes the old project, the old filters file or the tree.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <boost/filesystem/operations.hpp>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <thread>
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

    // Runs Tamrivo and checks that the old files and the tree are as they were.
    ProgramResult operator()(bool unprivileged = false) const {
        return Checked([&] { return Run(unprivileged); });
    }

    // The command that runs Tamrivo on the tree.
    Strings Command() const {
        return {testing::TamrivoExecutable(), "--VcxprojPath=" + project,
                "--VcxprojFiltersPath=" + filters, "--SrcPath=" + src};
    }

    // Runs Tamrivo, killed after a minute so that a hang fails.
    ProgramResult Run(bool unprivileged = false) const {
        Strings command = Command();
        command.insert(command.begin(), {"timeout", "60"});
        ProgramResult result = testing::RunProgram(command, work.path(), unprivileged);
        EXPECT_NE(result.exitCode, 124) << "the run did not end within a minute";
        return result;
    }

    // Calls run, which runs Tamrivo in its own way, and checks that the old files and the tree
    // are as they were, byte for byte and entry for entry.
    ProgramResult Checked(const std::function<ProgramResult()>& run) const {
        const std::string oldProject = ReadFile(project);
        const std::string oldFilters = ReadFile(filters);
        const Strings oldTree = TreeListing(src);
        EXPECT_FALSE(oldTree.empty()) << "the tree cannot be listed";
        ProgramResult result = run();
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

TEST(RobustnessEndToEnd, OutputsThatWouldLandOnAnInputAreRefusedAndTheRunGoesOn) {
    struct Case {
        std::string output;  // made a link to the target
        std::string target;
        std::string errorLine;
    };
    const std::vector<Case> cases = {
        {"%P.new", "App.vcxproj",
         "Tamrivo error: Refusing to write the new project file: %P.new (it is an input file of "
         "this run)"},
        {"%F.new", "App.vcxproj.filters",
         "Tamrivo error: Refusing to write the new filters file: %F.new (it is an input file of "
         "this run)"},
    };
    for (const Case& c : cases) {
        TreeRun run;
        const std::string link = run.Expand(c.output);
        ASSERT_EQ(symlink(c.target.c_str(), link.c_str()), 0);
        const ProgramResult result = run();

        EXPECT_EQ(result.exitCode, 254) << c.output << " -> " << c.target;
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
        Strings keptOutputs;  // written before the run, as they stay
    };
    const std::vector<Case> cases = {
        {"output folder read-only",
         [](const TreeRun& run) { chmod(run.prj.c_str(), 0555); },
         254,
         {"Tamrivo error: Cannot create the new project file: %P.new (Permission denied)",
          "Tamrivo error: Cannot create the new filters file: %F.new (Permission denied)",
          "Tamrivo error: Cannot create the report file: %R (Permission denied)"},
         "",
         {}},
        // An unreadable input is reported, and nothing made from it is written: the previous
        // outputs stay.
        {"project unreadable",
         [](const TreeRun& run) { chmod(run.project.c_str(), 0); },
         254,
         {"Tamrivo error: Cannot read the project file: %P (Permission denied)"},
         "",
         {"%P.new", "%R"}},
        // A file that opens but fails to read: the process's own memory, from address 0.
        {"project read fails",
         [](const TreeRun& run) {
             unlink(run.project.c_str());
             symlink("/proc/self/mem", run.project.c_str());
         },
         254,
         {"Tamrivo error: Cannot read the project file: %P (Input/output error)"},
         "",
         {"%P.new", "%R"}},
        {"filters file unreadable",
         [](const TreeRun& run) { chmod(run.filters.c_str(), 0); },
         254,
         {"Tamrivo error: Cannot read the filters file: %F (Permission denied)"},
         "",
         {"%F.new"}},
        {"source folder unreadable",
         [](const TreeRun& run) {
             WriteFile(run.src + "/Locked/hidden.c", "");
             chmod((run.src + "/Locked").c_str(), 0);
         },
         0,
         {},
         "Error While Accessing : %S\\Locked :: Permission denied\n",
         {}},
        // The paths cannot even be looked at: the command line is refused, nothing is written.
        {"project folder closed",
         [](const TreeRun& run) { chmod(run.prj.c_str(), 0700); },
         252,
         {"Tamrivo error: Cannot access the path of --VcxprojPath: %P (Permission denied)",
          "Tamrivo error: Cannot access the path of --VcxprojFiltersPath: %F (Permission denied)",
          "Tamrivo error: Something is wrong with input directories."},
         "Tamrivo error: --VcxprojPath=%P: cannot be accessed: Permission denied\n"
         "Tamrivo error: --VcxprojFiltersPath=%F: cannot be accessed: Permission denied\n",
         {}},
    };
    for (const Case& c : cases) {
        TreeRun run;
        for (const std::string& output : c.keptOutputs) {
            WriteFile(run.Expand(output), "previous");
        }
        testing::OpenToEveryone(run.work.path());
        c.takeAway(run);
        const ProgramResult result = run(true);

        EXPECT_EQ(result.exitCode, c.exitCode) << c.name << "\n" << result.output;
        for (const std::string& line : c.outputLines) {
            EXPECT_TRUE(HasLine(result.output, run.Expand(line))) << c.name << "\n"
                                                                  << result.output;
        }
        EXPECT_EQ(result.errorOutput, run.Expand(c.errorOutput)) << c.name;
        for (const std::string& output : c.keptOutputs) {
            EXPECT_EQ(ReadFile(run.Expand(output)), "previous") << c.name << " " << output;
        }
    }
}

TEST(RobustnessEndToEnd, ATreeDeeperThanThePathLimitIsWalkedWhole) {
    // Folders of 200-character names, 24 deep: made and removed by descriptors, as no path to
    // the deepest of them fits the limit. Every folder is listed, with its file f.c.
    constexpr int kDepth = 24;
    TreeRun run;
    std::string native = run.src + "/Deep";
    std::string folderText = "Deep";
    ASSERT_EQ(mkdir(native.c_str(), 0755), 0);
    int folder = open(native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);

    Strings filterLines = {"    <Filter Include=\"Deep\"> "};
    Strings sourceLines = {"    <ClCompile Include=\"..\\..\\Src\\a.c\" />"};
    for (int level = 0; level < kDepth; ++level) {
        const std::string name =
            std::string(2, static_cast<char>('a' + level)) + std::string(198, 'd');
        ASSERT_EQ(mkdirat(folder, name.c_str(), 0755), 0);
        const int sub = OpenSubFolder(folder, name);
        close(folder);
        folder = sub;
        native += "/" + name;
        folderText += "\\" + name;
        MakeFileAt(folder, "f.c");
        filterLines.push_back("    <Filter Include=\"" + folderText + "\"> ");
        sourceLines.push_back("    <ClCompile Include=\"..\\..\\Src\\" + folderText + "\\f.c\" />");
    }
    close(folder);
    ASSERT_GT(native.size(), static_cast<std::size_t>(PATH_MAX))
        << "the tree is not deeper than the limit";

    const ProgramResult result = run();
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(result.output.find("Tamrivo error"), std::string::npos) << result.output;
    EXPECT_EQ(result.errorOutput.substr(0, 200), "");
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

TEST(RobustnessEndToEnd, OddNamesAreEscapedAndNamesXmlCannotHoldAreLeftOut) {
    // Blanks, XML's and MSBuild's special characters and UTF-8 beyond ASCII: each name and how the
    // new files spell it.
    const std::vector<std::pair<std::string, std::string>> names = {
        {"caf\xc3\xa9.c", "caf\xc3\xa9.c"},
        {"a b.c", "a b.c"},
        {"R&D.c", "R&amp;D.c"},
        {"say \"hi\".h", "say &quot;hi&quot;.h"},
        {"it's <x>.c", "it%27s &lt;x&gt;.c"}};
    const std::string folder = "Odd & \"Q\"";
    const std::string escapedFolder = "Odd &amp; &quot;Q&quot;";
    TreeRun run;
    for (const auto& [name, escaped] : names) {
        WriteFile(run.src + "/" + folder + "/" + name, "");
    }
    // Names that no XML file can hold, or that would be read back as another path: one such
    // name would spoil both new files.
    for (const std::string name :
         {"two\nlines.c", "inv\xff.c", "h\xc3(.c", "ctl\x01x.c", "dir\x07/in.c", "c\\d.c"}) {
        WriteFile(run.src + "/" + name, "");
    }
    const ProgramResult result = run();

    EXPECT_EQ(result.exitCode, 0);
    const std::string error = "Error While Accessing : " + run.src + "\\";
    EXPECT_EQ(result.errorOutput,
              error + "ctl?x.c :: the name holds a control character; left out\n" + error +
                  "c\\d.c :: the name holds a backslash; left out\n" + error +
                  "dir? :: the name holds a control character; left out\n" + error +
                  "h?(.c :: the name is not UTF-8; left out\n" + error +
                  "inv?.c :: the name is not UTF-8; left out\n" + error +
                  "two?lines.c :: the name holds a line break; left out\n");
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
    for (const std::string& file : {run.project + ".new", run.filters + ".new"}) {
        EXPECT_EQ(testing::RunProgram({"xmllint", "--noout", file}, run.src).exitCode, 0) << file;
    }
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

TEST(RobustnessEndToEnd, BrokenProjectFilesGetTheirDefinedNewFile) {
    const std::string fiftyMegabytes(50 << 20, 'x');
    struct Case {
        std::string name;
        std::string project;
        std::string newProject;
        int oldSources;  // as the summary counts them
    };
    const std::vector<Case> cases = {
        {"NUL bytes",
         CrLfLines({kDeclaration + '\0', kProjectElement, "  <ItemGroup>",
                    std::string("    <ClCompile Include=\"a\0b.c\" />", 33), "  </ItemGroup>",
                    "</Project>"}),
         NewProject({kDeclaration + '\0', kProjectElement}, {}), 1},
        // A last line without a line end is not taken: with none at all, nothing is.
        {"no line end",
         kDeclaration + kProjectElement + "<ItemGroup><ClCompile Include=\"x.c\" /></ItemGroup>",
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
    struct Case {
        std::string name;
        std::string filters;
        Strings head;  // the lines that the new filters file keeps
    };
    const std::vector<Case> cases = {
        {"NUL bytes",
         std::string("a\0b\r\n\0\r\nc\r\n", 11),
         {std::string("a\0b", 3), std::string(1, '\0')}},
        // The start tag ends on the first line, which has no line end.
        {"no line end", kDeclaration + kFiltersElement, {kDeclaration + kFiltersElement}},
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

TEST(RobustnessEndToEnd, InputsThatCannotBeTakenAsLinesAreRefusedAndGiveNothing) {
    const std::string utf16 = "it is UTF-16; save it as UTF-8";
    const std::string carriageReturns = "its lines end in CR alone; save it with CR LF line ends";
    const std::string oneLine =
        "its Project element ends on the line of its start tag; put </Project> on a line of its "
        "own";
    struct Case {
        std::string name;
        std::string project;  // the old project when not empty, else kProject
        std::string filters;  // the old filters file when not empty, else kFilters
        std::string errorLine;
    };
    const std::vector<Case> cases = {
        {"UTF-16 project, little-endian", std::string("\xFF\xFE<\0?\0x\0m\0l\0\r\0\n\0", 16), "",
         "Tamrivo error: Cannot read the project file: %P (" + utf16 + ")"},
        {"UTF-16 filters file, big-endian", "", std::string("\xFE\xFF\0<\0?\0\r\0\n", 10),
         "Tamrivo error: Cannot read the filters file: %F (" + utf16 + ")"},
        {"project with carriage returns alone",
         kDeclaration + "\r" + kProjectElement + "\r  <ItemGroup>\r  </ItemGroup>\r</Project>\r",
         "", "Tamrivo error: Cannot read the project file: %P (" + carriageReturns + ")"},
        {"filters file with carriage returns alone", "",
         kDeclaration + "\r" + kFiltersElement + "\r</Project>\r",
         "Tamrivo error: Cannot read the filters file: %F (" + carriageReturns + ")"},
        {"binary project", EveryByteThrice(), "",
         "Tamrivo error: Cannot read the project file: %P (" + carriageReturns + ")"},
        {"project element on one line",
         CrLfLines({kDeclaration, kProjectElement + "<ItemGroup />" + "</Project>"}), "",
         "Tamrivo error: Cannot read the project file: %P (" + oneLine + ")"},
        {"filters file of an empty element", "",
         CrLfLines({kDeclaration, "<Project xmlns=\"x\"/>"}),
         "Tamrivo error: Cannot read the filters file: %F (" + oneLine + ")"},
    };
    for (const Case& c : cases) {
        TreeRun run(c.project.empty() ? kProject : c.project,
                    c.filters.empty() ? kFilters : c.filters);
        const Strings refused = c.project.empty() ? Strings{run.filters + ".new"}
                                                  : Strings{run.project + ".new", run.report};
        for (const std::string& output : refused) {
            WriteFile(output, "previous");
        }
        const ProgramResult result = run();
        EXPECT_EQ(result.exitCode, 254) << c.name;
        EXPECT_TRUE(HasLine(result.output, run.Expand(c.errorLine))) << c.name << result.output;
        for (const std::string& output : refused) {
            EXPECT_EQ(ReadFile(output), "previous") << c.name << " " << output;
        }
    }
}

bool IsRegularFile(const std::string& path) {
    struct stat status {};
    return lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// The new project for the tree of TreeRun with kProject as the old one.
const std::string kNewProject = NewProject({kDeclaration, kProjectElement}, {});

TEST(RobustnessEndToEnd, LinksPlantedAtTheOutputsByAnotherUserAreReplacedNotWrittenThrough) {
    TreeRun run;
    testing::OpenToEveryone(run.work.path());
    // Files of the user who runs Tamrivo, and the links that another user plants at the outputs.
    const std::string mine = run.work / "mine";
    const std::map<std::string, std::string> targets = {
        {"%P.new", "project"}, {"%F.new", "filters"}, {"%R", "report"}};
    for (const auto& [output, target] : targets) {
        WriteFile(mine + "/" + target, "mine");
        ASSERT_EQ(testing::RunProgram({"ln", "-s", mine + "/" + target, run.Expand(output)},
                                      run.work.path(), true)
                      .exitCode,
                  0);
    }
    const ProgramResult result = run();

    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(testing::SnapshotTree(mine),
              (std::map<std::string, std::string>{
                  {"filters", "mine"}, {"project", "mine"}, {"report", "mine"}}));
    EXPECT_EQ(ReadFile(run.project + ".new"), kNewProject);
    const mode_t mask = umask(0);
    umask(mask);
    for (const std::string& output : {run.project + ".new", run.filters + ".new", run.report}) {
        struct stat status {};
        ASSERT_EQ(lstat(output.c_str(), &status), 0) << output;
        EXPECT_TRUE(S_ISREG(status.st_mode)) << output;
        // As any file the user makes: owned by the user, with the mode the umask allows.
        EXPECT_EQ(status.st_uid, getuid()) << output;
        EXPECT_EQ(status.st_mode & 0777, 0666 & ~mask) << output;
        EXPECT_NE(ReadFile(output), "") << output;
    }
}

TEST(RobustnessEndToEnd, FifosAtTheOutputsAreReplacedNeverOpened) {
    TreeRun run;
    for (const std::string& output : {run.project + ".new", run.filters + ".new", run.report}) {
        ASSERT_EQ(mkfifo(output.c_str(), 0644), 0) << output;
    }
    const ProgramResult result = run();

    EXPECT_EQ(result.exitCode, 0) << result.output;
    for (const std::string& output : {run.project + ".new", run.filters + ".new", run.report}) {
        ASSERT_TRUE(IsRegularFile(output)) << output;  // reading a FIFO would wait for ever
    }
    EXPECT_EQ(ReadFile(run.project + ".new"), kNewProject);
    EXPECT_EQ(ReadFile(run.filters + ".new"),
              CrLfLines(Joined({kDeclaration, kFiltersElement}, kFilterGroups)));
}

// A tmpfs of the given size mounted over a folder (its contents hidden) until the end of the
// scope: a real file system that a test can fill. The tests run as root.
class SmallFileSystem {
  public:
    SmallFileSystem(const std::string& folder, const std::string& size) : folder_(folder) {
        mounted_ = mount("tmpfs", folder.c_str(), "tmpfs", 0, ("size=" + size).c_str()) == 0;
        EXPECT_TRUE(mounted_) << "cannot mount a tmpfs on " << folder << ": "
                              << std::strerror(errno);
    }
    ~SmallFileSystem() {
        if (mounted_) {
            EXPECT_EQ(umount2(folder_.c_str(), MNT_DETACH), 0) << std::strerror(errno);
        }
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;
    bool mounted() const { return mounted_; }

  private:
    std::string folder_;
    bool mounted_;
};

// Writes the file until its file system is full.
void FillUp(const std::string& path) {
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    const std::string block(4096, 'f');
    while (write(file, block.data(), block.size()) > 0) {
    }
    EXPECT_EQ(errno, ENOSPC);
    close(file);
}

TEST(RobustnessEndToEnd, OnAFullDiskEveryOutputIsReportedAndWhatWasThereStays) {
    TreeRun run;
    const std::string project = ReadFile(run.project);
    const std::string filters = ReadFile(run.filters);
    const SmallFileSystem disk(run.prj, "256k");
    ASSERT_TRUE(disk.mounted());
    WriteFile(run.project, project);
    WriteFile(run.filters, filters);
    const std::map<std::string, std::string> previous = {
        {"App.vcxproj.new", "previous project"},
        {"App.vcxproj.filters.new", "previous filters"},
        {"TamrivoReport.txt", "previous report"}};
    for (const auto& [name, bytes] : previous) {
        WriteFile(run.prj + "/" + name, bytes);
    }
    FillUp(run.prj + "/filler");
    const ProgramResult result = run();

    EXPECT_EQ(result.exitCode, 254);
    for (const char* line :
         {"Tamrivo error: Cannot write the new project file: %P.new (No space left on device)",
          "Tamrivo error: Cannot write the new filters file: %F.new (No space left on device)",
          "Tamrivo error: Cannot write the report file: %R (No space left on device)"}) {
        EXPECT_TRUE(HasLine(result.output, run.Expand(line))) << result.output;
    }
    // The previous outputs are whole, and no temporary file is left behind.
    std::map<std::string, std::string> left = testing::SnapshotTree(run.prj);
    EXPECT_EQ(left.erase("filler"), 1u);
    EXPECT_EQ(left.erase("App.vcxproj"), 1u);
    EXPECT_EQ(left.erase("App.vcxproj.filters"), 1u);
    EXPECT_EQ(left, previous);
}

// Starts a program in a working folder, its output thrown away; gives its process id.
pid_t StartProgram(const Strings& command, const std::string& workingDir) {
    std::vector<char*> argv;
    Strings arguments = command;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        if (chdir(workingDir.c_str()) != 0 || !freopen("/dev/null", "wb", stdout) ||
            !freopen("/dev/null", "wb", stderr)) {
            _exit(127);
        }
        execvp(argv[0], argv.data());
        _exit(127);
    }
    return child;
}

// The path of the first file in folder whose name starts with prefix once it holds bytes; empty
// when none does within a minute.
std::string WaitForWrittenFile(const std::string& folder, const std::string& prefix) {
    for (int round = 0; round < 60000; ++round) {
        const int open = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        const Strings names = NamesIn(open);
        close(open);
        for (const std::string& name : names) {
            struct stat status {};
            if (name.rfind(prefix, 0) == 0 && stat((folder + "/" + name).c_str(), &status) == 0 &&
                status.st_size > 0) {
                return folder + "/" + name;
            }
        }
        usleep(1000);
    }
    return "";
}

TEST(RobustnessEndToEnd, ARunKilledWhileWritingLeavesThePreviousNewFileAndALaterRunGoesOn) {
    // A project of 32 MB, kept whole in the new one: writing it takes a while.
    const std::string line = "  <X>" + std::string(32 << 20, 'x') + "</X>";
    TreeRun run(CrLfLines({kDeclaration, kProjectElement, line, "</Project>"}));
    WriteFile(run.project + ".new", "previous project");
    pid_t killed = 0;
    std::string leftover;
    run.Checked([&] {
        killed = StartProgram(run.Command(), run.work.path());
        // Named as the killed run's: the output's name, the process's id.
        leftover =
            WaitForWrittenFile(run.prj, "App.vcxproj.new.tmp-" + std::to_string(killed) + "-");
        kill(killed, SIGKILL);
        int status = 0;
        waitpid(killed, &status, 0);
        return ProgramResult{};
    });
    ASSERT_NE(leftover, "") << "the killed run wrote no temporary file";
    EXPECT_EQ(ReadFile(run.project + ".new"), "previous project");
    const std::string leftoverBytes = ReadFile(leftover);

    // A later run writes beside the leftover of the killed one and leaves it alone.
    const ProgramResult later = run();
    EXPECT_EQ(later.exitCode, 0) << later.output;
    EXPECT_TRUE(ReadFile(run.project + ".new") ==
                NewProject({kDeclaration, kProjectElement}, {line}));
    EXPECT_TRUE(ReadFile(leftover) == leftoverBytes) << "the leftover changed";
    Strings names;
    const int folder = open(run.prj.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    names = NamesIn(folder);
    close(folder);
    // The killed run wrote the new filters file side by side: its leftover may stand there too.
    const std::string filtersLeftover = "App.vcxproj.filters.new.tmp-" + std::to_string(killed);
    names.erase(std::remove_if(
                    names.begin(), names.end(),
                    [&](const std::string& name) { return name.rfind(filtersLeftover, 0) == 0; }),
                names.end());
    EXPECT_EQ(names, (Strings{"App.vcxproj", "App.vcxproj.filters", "App.vcxproj.filters.new",
                              "App.vcxproj.new", leftover.substr(run.prj.size() + 1),
                              "TamrivoReport.txt"}));
}

// Trades the places of two entries of a folder, once, as soon as the watched folder is opened,
// and trades them back at the end of the scope.
class SwapOnOpen {
  public:
    SwapOnOpen(const std::string& watched, const std::string& folder, const std::string& first,
               const std::string& second)
        : folder_(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)),
          first_(first),
          second_(second),
          events_(inotify_init1(IN_CLOEXEC)) {
        EXPECT_GE(inotify_add_watch(events_, watched.c_str(), IN_OPEN), 0);
        EXPECT_EQ(pipe2(stop_, O_CLOEXEC), 0);
        thread_ = std::thread([this] {
            pollfd waits[] = {{events_, POLLIN, 0}, {stop_[0], POLLIN, 0}};
            if (poll(waits, 2, -1) > 0 && (waits[0].revents & POLLIN) != 0) {
                swapped_ = Swap();
            }
        });
    }
    ~SwapOnOpen() {
        EXPECT_EQ(write(stop_[1], "x", 1), 1);
        thread_.join();
        if (swapped_) {
            EXPECT_TRUE(Swap()) << std::strerror(errno);
        }
        for (const int descriptor : {folder_, events_, stop_[0], stop_[1]}) {
            close(descriptor);
        }
    }
    SwapOnOpen(const SwapOnOpen&) = delete;
    SwapOnOpen& operator=(const SwapOnOpen&) = delete;

  private:
    bool Swap() const {
        return renameat2(folder_, first_.c_str(), folder_, second_.c_str(), RENAME_EXCHANGE) == 0;
    }

    int folder_;
    std::string first_;
    std::string second_;
    int events_;
    int stop_[2] = {-1, -1};
    bool swapped_ = false;
    std::thread thread_;
};

TEST(RobustnessEndToEnd, AFolderSwappedForALinkDuringTheWalkIsNotEntered) {
    // The walk lists Src, then spends a while in A, then opens Sub: when A is opened, Sub trades
    // places with Zlink, a link to a folder outside the tree.
    TreeRun run;
    ASSERT_EQ(mkdir((run.src + "/A").c_str(), 0755), 0);
    const int folder = open((run.src + "/A").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (int i = 0; i < 2000; ++i) {
        MakeFileAt(folder, "f" + std::to_string(i) + ".c");
    }
    close(folder);
    WriteFile(run.src + "/Sub/s.c", "");
    WriteFile(run.work / "Outside/outside.c", "");
    ASSERT_EQ(symlink((run.work / "Outside").c_str(), (run.src + "/Zlink").c_str()), 0);

    constexpr int kAttempts = 20;
    bool met = false;
    for (int attempt = 0; attempt < kAttempts && !met; ++attempt) {
        const ProgramResult result = run.Checked([&] {
            const SwapOnOpen swap(run.src + "/A", run.src, "Sub", "Zlink");
            return run.Run();
        });
        EXPECT_EQ(result.exitCode, 0) << result.output;
        EXPECT_EQ(result.errorOutput, "");
        const std::string newProject = ReadFile(run.project + ".new");
        EXPECT_EQ(newProject.find("outside.c"), std::string::npos) << "attempt " << attempt;
        // Sub was listed as a folder, yet its s.c is missing: the link stood there when the walk
        // came to open it.
        EXPECT_TRUE(HasLine(ReadFile(run.filters + ".new"), "    <Filter Include=\"Sub\"> \r"));
        met = newProject.find("Sub\\s.c") == std::string::npos;
    }
    EXPECT_TRUE(met) << "the swap never came between the walk's listing and its opening";
}

TEST(RobustnessEndToEnd, ARootThatCannotBeListedOrSearchedEndsTheRunWithoutWritingAnything) {
    // Readable but not searchable (0644), the root's names could be listed but none of its
    // sub-folders entered: every one of them would be lost without a word.
    for (const mode_t mode : {0, 0644}) {
        TreeRun run;
        WriteFile(run.src + "/Sub/s.c", "");
        testing::OpenToEveryone(run.work.path());
        ASSERT_EQ(chmod(run.src.c_str(), mode), 0);
        const ProgramResult result = run(true);

        EXPECT_EQ(result.exitCode, 254) << mode;
        EXPECT_TRUE(
            HasLine(result.output, run.Expand("Tamrivo error: Cannot list the source root: %S "
                                              "(Permission denied)")))
            << result.output;
        // No summary either: it would count a tree that was never seen.
        EXPECT_EQ(result.output.find("Tamrivo Report:"), std::string::npos) << result.output;
        EXPECT_EQ(result.errorOutput, "");
        for (const std::string& output : {run.project + ".new", run.filters + ".new", run.report}) {
            EXPECT_FALSE(testing::FileExists(output)) << output;
        }
    }
}

TEST(RobustnessEndToEnd, FewDescriptorsWalkTheWholeTreeOrFailTheRun) {
    // Under prlimit, the walk holds what it may and finds the rest again; with no descriptor
    // to spare beside the root's, it cannot open a sub-folder inside its parent at all, and
    // writing files that lack the tree would be a lie.
    TreeRun run;
    for (const std::string path : {"A/B/C/D/d.c", "A/B/b.h", "A/a.txt", "Z/z.c"}) {
        WriteFile(run.src + "/" + path, "");
    }
    const ProgramResult plain = run.Run();
    ASSERT_EQ(plain.exitCode, 0);
    const std::string project = ReadFile(run.project + ".new");

    // Under a shell that closes what the test process left open, so that the limit counts.
    Strings command = run.Command();
    command.insert(command.begin(),
                   {"bash", "-c",
                    "for fd in $(ls /proc/$$/fd); do ((fd > 2)) && eval \"exec $fd>&-\"; done; "
                    "exec \"$@\"",
                    "bash", "prlimit", "--nofile=5"});
    const ProgramResult walked = testing::RunProgram(command, run.work.path());
    EXPECT_EQ(walked.exitCode, 0) << walked.output;
    EXPECT_EQ(walked.errorOutput, "");
    EXPECT_EQ(ReadFile(run.project + ".new"), project);

    for (const std::string& output : {run.project + ".new", run.filters + ".new", run.report}) {
        ASSERT_EQ(unlink(output.c_str()), 0) << output;
    }
    command[5] = "--nofile=4";
    const ProgramResult starved = testing::RunProgram(command, run.work.path());
    EXPECT_EQ(starved.exitCode, 254);
    EXPECT_TRUE(HasLine(starved.output,
                        run.Expand("Tamrivo error: Stopped while walking the source root: %S "
                                   "(%S\\A: Too many open files)")))
        << starved.output;
    for (const std::string& output : {run.project + ".new", run.filters + ".new", run.report}) {
        EXPECT_FALSE(testing::FileExists(output)) << output;
    }
}

TEST(RobustnessEndToEnd, AFolderWhoseNameEndsInAColonStillGetsItsBackslash) {
    TreeRun run;
    WriteFile(run.src + "/c:/m.c", "");
    const ProgramResult result = run();

    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(HasLine(ReadFile(run.project + ".new"),
                        "    <ClCompile Include=\"..\\..\\Src\\c:\\m.c\" />\r"));
    const std::string newFilters = ReadFile(run.filters + ".new");
    EXPECT_TRUE(HasLine(newFilters, "    <Filter Include=\"c:\"> \r"));
    EXPECT_NE(newFilters.find("    <ClCompile Include=\"..\\..\\Src\\c:\\m.c\"> \r\n"
                              "      <Filter>c:</Filter> \r\n"),
              std::string::npos)
        << newFilters;
}

TEST(RobustnessEndToEnd, AnExceptionThatEndsTheRunNamesItsStepAndFile) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "AddressSanitizer ends a process whose allocation fails instead of throwing";
#endif
    // A project file of 30 million empty lines, under a limit on the address space: the list of
    // its lines runs out of memory.
    TreeRun run(std::string(30 << 20, '\n'));
    Strings command = run.Command();
    command.insert(command.begin(), {"timeout", "60", "prlimit", "--as=400000000", "--"});
    const ProgramResult result = testing::RunProgram(command, run.work.path());

    EXPECT_EQ(result.exitCode, 254);
    EXPECT_TRUE(HasLine(result.output, run.Expand("Tamrivo error: Stopped while reading the "
                                                  "project file: %P (std::bad_alloc)")))
        << result.output;
    for (const std::string& output : {run.project + ".new", run.filters + ".new", run.report}) {
        EXPECT_FALSE(testing::FileExists(output)) << output;
    }
}

TEST(RobustnessEndToEnd, InputsThatAreNoRegularFilesAreRefusedWithoutWaiting) {
    // A FIFO that no one writes would block the opening for ever, and a device may never end.
    TreeRun run;
    ASSERT_EQ(unlink(run.project.c_str()), 0);
    ASSERT_EQ(mkfifo(run.project.c_str(), 0644), 0);
    ASSERT_EQ(unlink(run.filters.c_str()), 0);
    ASSERT_EQ(symlink("/dev/zero", run.filters.c_str()), 0);
    const ProgramResult result = run.Run();

    EXPECT_EQ(result.exitCode, 254) << result.output;
    for (const char* line :
         {"Tamrivo error: Cannot read the project file: %P (it is no regular file but a FIFO, a "
          "device or a socket)",
          "Tamrivo error: Cannot read the filters file: %F (it is no regular file but a FIFO, a "
          "device or a socket)"}) {
        EXPECT_TRUE(HasLine(result.output, run.Expand(line))) << result.output;
    }
    for (const std::string& output : {run.project + ".new", run.filters + ".new", run.report}) {
        EXPECT_FALSE(testing::FileExists(output)) << output;
    }
}

TEST(RobustnessEndToEnd, AFiltersHeadIsKeptWholeOrRefusedBeyondItsBound) {
    // A head line of 1 MiB is kept whole; a line of 200 MB (a sparse file of NUL bytes) before
    // any start tag is refused after 16 MiB of it, and the peak memory stays far below its size.
    const std::string longValue(1 << 20, 'v');
    const std::string longElement = "<Project Label=\"" + longValue + "\">";
    {
        TreeRun run(kProject, CrLfLines({kDeclaration, longElement, "</Project>"}));
        const ProgramResult result = run();
        EXPECT_EQ(result.exitCode, 0) << result.output;
        EXPECT_TRUE(ReadFile(run.filters + ".new") ==
                    CrLfLines(Joined({kDeclaration, longElement}, kFilterGroups)));
    }
    constexpr long kMostPeakKilobytes = 100 << 10;
    TreeRun run;
    WriteFile(run.filters + ".new", "previous");
    WriteFile(run.filters, "");
    ASSERT_EQ(truncate(run.filters.c_str(), 200 << 20), 0);
    const ProgramResult result = testing::RunProgram(
        Joined({"timeout", "20", "/usr/bin/time", "-f", "peak %M"}, run.Command()),
        run.work.path());
    EXPECT_EQ(result.exitCode, 254) << result.output;
    EXPECT_TRUE(HasLine(result.output,
                        run.Expand("Tamrivo error: Cannot read the filters file: %F (a line before "
                                   "the end of its Project start tag is longer than 16 MiB)")))
        << result.output;
    EXPECT_EQ(ReadFile(run.filters + ".new"), "previous");
    const std::size_t peak = result.errorOutput.rfind("peak ");
    ASSERT_NE(peak, std::string::npos) << result.errorOutput;
    EXPECT_LT(std::stol(result.errorOutput.substr(peak + 5)), kMostPeakKilobytes);
}

TEST(RobustnessEndToEnd, ExtraSeparatorsOfTheSourceRootChangeNothing) {
    TreeRun run;
    WriteFile(run.src + "/A/b.h", "");
    // Everything that a run writes, identifiers and timestamps masked.
    const auto outputs = [&run](const std::string& root) {
        Strings command = run.Command();
        command.back() = "--SrcPath=" + root;
        const ProgramResult result = testing::RunProgram(command, run.work.path());
        std::vector<std::string> identifiers;
        return Strings{std::to_string(result.exitCode),
                       testing::MaskReportTimestamp(result.output),
                       result.errorOutput,
                       ReadFile(run.project + ".new"),
                       testing::MaskFilterIdentifiers(ReadFile(run.filters + ".new"), identifiers),
                       testing::MaskReportTimestamp(ReadFile(run.report))};
    };
    const Strings plain = outputs(run.src);
    EXPECT_EQ(outputs(run.src + "/"), plain);
    EXPECT_EQ(outputs(run.work / "/Src//"), plain);
}

TEST(RobustnessEndToEnd, OutputsThatCannotTakeTheirPlaceAreRefusedAndLongNamesFit) {
    {
        // One project named twice: both new files would be App.vcxproj.new.
        TreeRun run;
        Strings command = run.Command();
        command[2] = "--VcxprojFiltersPath=" + run.prj + "/./App.vcxproj";
        const ProgramResult result =
            run.Checked([&] { return testing::RunProgram(command, run.work.path()); });
        EXPECT_EQ(result.exitCode, 254) << result.output;
        EXPECT_TRUE(HasLine(result.output,
                            "Tamrivo error: Refusing to write the new filters file: " + run.prj +
                                "/./App.vcxproj.new (it is the new project file too)"))
            << result.output;
        for (const std::string& output : {run.project + ".new", run.report}) {
            EXPECT_FALSE(testing::FileExists(output)) << output;
        }
    }
    {
        // A new project file that its owner made read-only stays as it is; the others are written.
        TreeRun run;
        WriteFile(run.project + ".new", "previous");
        ASSERT_EQ(chmod((run.project + ".new").c_str(), 0444), 0);
        const ProgramResult result = run();
        EXPECT_EQ(result.exitCode, 254) << result.output;
        EXPECT_TRUE(HasLine(
            result.output,
            run.Expand("Tamrivo error: Cannot replace the new project file: %P.new (read-only)")))
            << result.output;
        EXPECT_EQ(ReadFile(run.project + ".new"), "previous");
        EXPECT_TRUE(IsRegularFile(run.filters + ".new"));
    }
    {
        // A project name of 240 bytes: its new file's name has room, the temporary one too.
        TreeRun run;
        const std::string project = run.prj + "/" + std::string(232, 'p') + ".vcxproj";
        boost::filesystem::rename(run.project, project);
        Strings command = run.Command();
        command[1] = "--VcxprojPath=" + project;
        const ProgramResult result = testing::RunProgram(command, run.work.path());
        EXPECT_EQ(result.exitCode, 0) << result.output;
        EXPECT_TRUE(ReadFile(project + ".new") == kNewProject);
    }
}

// Runs a program in a working folder with standard output on the descriptor output (closed here
// afterwards); gives its exit code as a shell sees it (128 and the signal that ended it) and what
// it wrote on standard error.
ProgramResult RunWithStandardOutput(const Strings& command, const std::string& workingDir,
                                    int output) {
    std::vector<char*> argv;
    Strings arguments = command;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const std::string errorFile = workingDir + "/stderr.txt";
    const pid_t child = fork();
    if (child == 0) {
        if (chdir(workingDir.c_str()) != 0 || dup2(output, STDOUT_FILENO) < 0 ||
            !freopen(errorFile.c_str(), "wb", stderr)) {
            _exit(127);
        }
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(output);
    int status = 0;
    waitpid(child, &status, 0);
    ProgramResult result;
    result.exitCode = WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
    result.errorOutput = ReadFile(errorFile);
    return result;
}

TEST(RobustnessEndToEnd, AStandardOutputThatFailsEndsACompleteRunWithAnError) {
    // A pipe whose reader is gone (as after head -c1) and a full disk.
    const std::vector<std::pair<std::string, std::function<int()>>> outputs = {
        {"closed pipe",
         [] {
             int ends[2] = {-1, -1};
             EXPECT_EQ(pipe(ends), 0);
             close(ends[0]);
             return ends[1];
         }},
        {"/dev/full", [] { return open("/dev/full", O_WRONLY | O_CLOEXEC); }},
    };
    for (const auto& [name, open] : outputs) {
        TreeRun run;
        const ProgramResult result = run.Checked(
            [&] { return RunWithStandardOutput(run.Command(), run.work.path(), open()); });
        EXPECT_EQ(result.exitCode, 254) << name;
        EXPECT_EQ(result.errorOutput, "Tamrivo error: Cannot write the standard output\n") << name;
        EXPECT_TRUE(ReadFile(run.project + ".new") == kNewProject) << name;
        EXPECT_NE(ReadFile(run.filters + ".new").find("</Project>"), std::string::npos) << name;
        EXPECT_TRUE(HasLine(ReadFile(run.report), "..\\..\\Src\\a.c\r")) << name;
    }
}

}  // namespace
}  // namespace tamrivo
