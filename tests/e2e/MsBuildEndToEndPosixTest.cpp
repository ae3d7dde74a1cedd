// The new files evaluated by an MSBuild engine, Mono's xbuild (Debian's mono-xbuild), with empty
// stand-ins for the Visual C++ imports: they load, the project's file items are the tree's files
// and the items that Tamrivo keeps, everything else evaluates as in the old project, and every
// file of the filters file names a defined filter. Also project files of unusual shapes, byte for
// byte, and a second run on the new files.
#include <gtest/gtest.h>

#include <algorithm>
#include <boost/filesystem/operations.hpp>
#include <cctype>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "TestSupport.h"
#include "WholeRunEndToEndTestSupport.h"

namespace tamrivo {
namespace {

using testing::ReadFile;
using testing::RunProgram;
using testing::TempDir;
using testing::WriteFile;
using Strings = std::vector<std::string>;

// The metadata printed for every item, after its type and identity.
const Strings kMetadata = {"Filter",        "DeploymentContent", "PreprocessorDefinitions",
                           "Configuration", "Platform",          "UniqueIdentifier"};

// A file item of the new project as the evaluation shows it: kind, path (xbuild turns
// backslashes into slashes) and the metadata, of which only DeploymentContent is used.
std::string File(const std::string& kind, const std::string& path,
                 const std::string& deploymentContent = "") {
    return kind + "|../../Src/" + path + "||" + deploymentContent + "||||";
}

Strings Split(const std::string& line) {
    Strings fields(1);
    for (const char c : line) {
        if (c == '|') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

// What an evaluation shows: the properties, and the items of the types the test files use, each a
// line. File items (ClCompile, ClInclude, None) apart from the rest.
struct Evaluation {
    Strings files;  // kind|path|filter|DeploymentContent|PreprocessorDefinitions, sorted
    Strings rest;   // properties, then the other items, in the evaluator's order
};

// A line of the printing target: each item of a type on a line of its own, marked for the parser.
std::string PrintItems(const std::string& type, const std::string& mark) {
    std::string text = mark + " " + type + "|%(Identity)";
    for (const std::string& name : kMetadata) {
        text += "|%(" + name + ")";
    }
    return "    <Message Importance=\"high\" Text=\"@(" + type + "->'" + text + "', '%0A')\" />\n";
}

// xbuild reads item definitions but gives their metadata to no item. So that they are evaluated
// all the same, each definition group becomes an item group, and each definition in it an item
// "(definition)" of its type; the old and the new project are treated alike.
std::string DefinitionsAsItems(const std::string& text) {
    static const std::regex definition("    <[A-Za-z]+>\r?");
    constexpr std::string_view kGroup = "ItemDefinitionGroup";
    std::istringstream lines(text);
    std::string result;
    bool inDefinitions = false;
    for (std::string line; std::getline(lines, line);) {
        const std::size_t group = line.find(kGroup);
        if (group != std::string::npos) {
            inDefinitions = line.find("</") == std::string::npos;
            line.replace(group, kGroup.size(), "ItemGroup");
        } else if (inDefinitions && std::regex_match(line, definition)) {
            line.insert(line.find('>'), " Include=\"(definition)\"");
        }
        result += line + "\n";
    }
    return result;
}

// Evaluates a project or filters file with xbuild for Debug|Win32, in the folder where it lies,
// through a project of the test's own that imports it under a fixed name, so that the old and the
// new file are evaluated in the same surroundings. Fails the test when xbuild does not load it.
Evaluation Evaluate(const std::string& file, const std::string& stubs) {
    const std::string folder = boost::filesystem::path(file).parent_path().string();
    WriteFile(folder + "/Evaluated.vcxproj", DefinitionsAsItems(ReadFile(file)));
    std::string printing;
    for (const char* type : {"ClCompile", "ClInclude", "None"}) {
        printing += PrintItems(type, "tamrivo-file");
    }
    for (const char* type : {"ProjectConfiguration", "ResourceCompile", "Filter"}) {
        printing += PrintItems(type, "tamrivo-item");
    }
    WriteFile(folder + "/Evaluate.proj",
              "<Project xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">\n"
              "  <Import Project=\"Evaluated.vcxproj\" />\n"
              "  <Target Name=\"TamrivoPrint\">\n" +
                  printing + "  </Target>\n</Project>\n");
    const auto result =
        RunProgram({"xbuild", "/nologo", "/v:diag", "/t:TamrivoPrint", "/p:Configuration=Debug",
                    "/p:Platform=Win32", "/p:VCTargetsPath=" + stubs + "/", "Evaluate.proj"},
                   folder);
    EXPECT_EQ(result.exitCode, 0) << file << "\n" << result.output << result.errorOutput;

    // The diagnostic output lists the properties first, then the printed lines.
    Evaluation evaluation;
    std::istringstream lines(result.output);
    bool inProperties = false;
    for (std::string line; std::getline(lines, line);) {
        const std::size_t start = line.find_first_not_of('\t');
        const std::string text = start == std::string::npos ? "" : line.substr(start);
        if (text == "Initial Properties:" || text.empty()) {
            inProperties = text != "";
        } else if (inProperties) {
            evaluation.rest.push_back("property " + text);
        } else if (text.rfind("tamrivo-file ", 0) == 0 &&
                   text.find("|(definition)|") == std::string::npos) {
            evaluation.files.push_back(text.substr(13));
        } else if (text.rfind("tamrivo-", 0) == 0) {
            evaluation.rest.push_back(text);
        }
    }
    std::sort(evaluation.files.begin(), evaluation.files.end());
    return evaluation;
}

// Empty stand-ins for the Visual C++ imports of a project.
std::string WriteStubImports(const TempDir& dir) {
    const std::string stubs = dir / "VCTargets";
    for (const char* name :
         {"Microsoft.Cpp.Default.props", "Microsoft.Cpp.props", "Microsoft.Cpp.targets"}) {
        WriteFile(stubs + "/" + name,
                  "<Project xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\" />\n");
    }
    return stubs;
}

// The project's path for a filter text from the filters file's view: its backslashes as xbuild
// shows the names of filters.
std::string Slashed(std::string text) {
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

// The text with MSBuild's escapes ("%" and two hexadecimal digits) decoded: xbuild shows an item's
// identity decoded, as MSBuild does, but its metadata as written.
std::string MsBuildUnescaped(const std::string& text) {
    std::string result;
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        if (text[pos] == '%' && pos + 2 < text.size() &&
            std::isxdigit(static_cast<unsigned char>(text[pos + 1])) &&
            std::isxdigit(static_cast<unsigned char>(text[pos + 2]))) {
            result.push_back(static_cast<char>(std::stoi(text.substr(pos + 1, 2), nullptr, 16)));
            pos += 2;
        } else {
            result.push_back(text[pos]);
        }
    }
    return result;
}

// Evaluates the old and the new files of a run in Src/Prj and checks the four points; files are
// the new project's expected file items.
void CheckWithTheEvaluator(const TempDir& dir, const std::string& prj, Strings files) {
    const std::string stubs = WriteStubImports(dir);
    const Evaluation old = Evaluate(prj + "/App.vcxproj", stubs);
    const Evaluation project = Evaluate(prj + "/App.vcxproj.new", stubs);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(project.files, files);
    EXPECT_EQ(project.rest, old.rest);

    const Evaluation filters = Evaluate(prj + "/App.vcxproj.filters.new", stubs);
    std::set<std::string> defined;
    for (const std::string& line : filters.rest) {
        const Strings fields = Split(line);
        if (fields[0] == "tamrivo-item Filter") {
            defined.insert(fields[1]);
        }
    }
    EXPECT_FALSE(filters.files.empty());
    for (const std::string& line : filters.files) {
        const Strings fields = Split(line);
        const std::string& path = fields[1];
        const std::string filter = Slashed(MsBuildUnescaped(fields[2]));
        const bool inTheRoot =
            path.find('/', std::string("../../Src/").size()) == std::string::npos;
        EXPECT_TRUE(inTheRoot ? filter.empty() : defined.count(filter) == 1) << line;
    }
}

TEST(MsBuildEndToEnd, TheExampleLoadsAndEvaluatesAsTheOldProjectWithTheTreesFiles) {
    TempDir dir;
    const std::string repo = CopyOfTheExample(dir);
    ASSERT_EQ(RunOnTheExample(repo).exitCode, 0);
    CheckWithTheEvaluator(
        dir, repo + "/Src/Prj",
        {File("ClCompile", "App/main.c"), File("ClCompile", "App/Core/engine.cpp"),
         File("ClCompile", "Lib/io.c"), File("ClInclude", "App/main.h"),
         File("ClInclude", "App/Core/engine.hpp"), File("ClInclude", "Lib/io.h"),
         File("None", "App/Core/Startup/start.s"), File("None", "Build/link.ld"),
         File("None", "Build/build.bat"),
         // The old item with child elements stays beside the tree's one-line item.
         File("None", "Build/build.bat", "true")});
}

// The new files of a run, the filters file's identifiers masked.
Strings NewFiles(const std::string& prj, Strings& identifiers) {
    return {
        ReadFile(prj + "/App.vcxproj.new"),
        testing::MaskFilterIdentifiers(ReadFile(prj + "/App.vcxproj.filters.new"), identifiers)};
}

TEST(MsBuildEndToEnd, ProjectFilesOfEveryShapeComeBackLoadableAndStable) {
    // The tree's files of known kinds: names with XML's special characters, a file in the root.
    const Strings treeFiles = {File("None", "run.bat"),
                               File("ClCompile", "Lib/io.c"),
                               File("ClInclude", "Lib/io.hpp"),
                               File("ClCompile", "R&D/<x>.c"),
                               File("ClInclude", "R&D/say \"hi\".h"),
                               File("ClCompile", "R&D/it's.cpp"),
                               File("None", "Build/link.ld"),
                               File("None", "Build/build.bat"),
                               File("None", "Odd 'q' \"Q\" <>/deep.s")};
    struct Shape {
        std::string name;  // its old files in tests/data/shapes, its new ones in tests/e2e/expected
        Strings keptItems;
    };
    const std::vector<Shape> shapes = {
        {"bare",
         {File("ClCompile", "Lib/io.cc"), File("ClInclude", "Lib/io.inl"),
          File("None", "App.natvis"), File("None", "R&D/a&b.def")}},
        {"commented", {File("None", "Build/build.bat", "true"), File("ClCompile", "Lib/io.cxx")}},
    };
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.name);
        TempDir dir;
        const std::string src = dir / "Repo/Src";
        const std::string prj = src + "/Prj";
        for (const char* file :
             {"run.bat", "App.natvis", "Lib/io.c", "Lib/io.hpp", "Lib/io.cc", "Lib/io.inl",
              "R&D/<x>.c", "R&D/say \"hi\".h", "R&D/it's.cpp", "R&D/a&b.def", "Build/link.ld",
              "Build/build.bat", "Odd 'q' \"Q\" <>/deep.s"}) {
            WriteFile(src + "/" + file, "");
        }
        const std::string data = testing::ProjectSourceDir() + "/tests/data/shapes/" + shape.name;
        for (const char* file : {"/App.vcxproj", "/App.vcxproj.filters"}) {
            WriteFile(prj + file, ReadFile(data + file));
        }
        ASSERT_EQ(RunOnTheExample(dir / "Repo").exitCode, 0);

        Strings identifiers;
        const Strings newFiles = NewFiles(prj, identifiers);
        const std::string expected =
            testing::ProjectSourceDir() + "/tests/e2e/expected/shapes-" + shape.name;
        EXPECT_EQ(newFiles[0], ReadFile(expected + "/App.vcxproj.new"));
        EXPECT_EQ(newFiles[1], ReadFile(expected + "/App.vcxproj.filters.new"));
        for (const char* file : {"/App.vcxproj.new", "/App.vcxproj.filters.new"}) {
            const auto lint = RunProgram({"xmllint", "--noout", prj + file}, dir.path());
            EXPECT_EQ(lint.exitCode, 0) << file << "\n" << lint.errorOutput;
        }
        Strings files = treeFiles;
        files.insert(files.end(), shape.keptItems.begin(), shape.keptItems.end());
        CheckWithTheEvaluator(dir, prj, files);

        // Run again on the new files: the same project, the same filters file but for the
        // identifiers.
        for (const char* file : {"/App.vcxproj", "/App.vcxproj.filters"}) {
            boost::filesystem::rename(prj + file + ".new", prj + file);
        }
        ASSERT_EQ(RunOnTheExample(dir / "Repo").exitCode, 0);
        Strings secondIdentifiers;
        EXPECT_EQ(NewFiles(prj, secondIdentifiers), newFiles);
        EXPECT_EQ(secondIdentifiers.size(), identifiers.size());
        EXPECT_NE(secondIdentifiers, identifiers);
    }
}

// Writes a tree of files below dir/Repo/Src with an old project of items and a bare filters file
// in Src/Prj, and runs Tamrivo on it; gives what it printed.
std::string RunOnNames(const TempDir& dir, const Strings& files, const Strings& items) {
    const std::string src = dir / "Repo/Src";
    for (const std::string& file : files) {
        WriteFile(src + "/" + file, "");
    }
    const std::string declaration = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";
    const std::string element =
        "<Project ToolsVersion=\"15.0\" "
        "xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">\r\n";
    std::string project = declaration + element + "  <ItemGroup>\r\n";
    for (const std::string& item : items) {
        project += "    <ClCompile Include=\"" + item + "\" />\r\n";
    }
    WriteFile(src + "/Prj/App.vcxproj", project + "  </ItemGroup>\r\n</Project>\r\n");
    WriteFile(src + "/Prj/App.vcxproj.filters", declaration + element + "</Project>\r\n");
    const testing::ProgramResult result = RunOnTheExample(dir / "Repo");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    return result.output;
}

TEST(MsBuildEndToEnd, NamesWithMsBuildsCharactersAndTabsEvaluateToTheTreesFiles) {
    // Names that MSBuild would read as properties, item lists, metadata or conditions, and a tab,
    // which an XML reader would make a blank; the old project names dollar$(x).c as a real project
    // stores it, escaped, and the report pairs the two.
    TempDir dir;
    const std::string output =
        RunOnNames(dir, {"dollar$(x).c", "at@(y).h", "it's.c", "tab\tname.c", "F(1)/in.c"},
                   {"..\\..\\Src\\dollar%24%28x%29.c"});
    EXPECT_NE(output.find("List of new added files:\n------------------------\n"
                          "Number of Header Files: 1\nNumber of Source Files: 3\n"),
              std::string::npos)
        << output;
    const std::string prj = dir / "Repo/Src/Prj";
    const std::string newProject = ReadFile(prj + "/App.vcxproj.new");
    EXPECT_NE(newProject.find("<ClCompile Include=\"..\\..\\Src\\tab&#9;name.c\" />"),
              std::string::npos);
    EXPECT_EQ(newProject.find("dollar%24%28x%29.c"), newProject.rfind("dollar%24%28x%29.c"));
    CheckWithTheEvaluator(dir, prj,
                          {File("ClCompile", "dollar$(x).c"), File("ClInclude", "at@(y).h"),
                           File("ClCompile", "it's.c"), File("ClCompile", "tab\tname.c"),
                           File("ClCompile", "F(1)/in.c")});

    // xbuild decodes "%" escapes before it splits a list at ";" and expands wildcards (MSBuild
    // does neither), so for these four the written text is checked against MSBuild's rule, and
    // xbuild loads the files.
    TempDir other;
    RunOnNames(other, {"semi;colon.c", "pct%41.c", "star*.c", "ask?.c"}, {});
    const std::string otherPrj = other / "Repo/Src/Prj";
    const std::string written = ReadFile(otherPrj + "/App.vcxproj.new");
    for (const char* name : {"semi%3Bcolon.c", "pct%2541.c", "star%2A.c", "ask%3F.c"}) {
        EXPECT_NE(written.find("    <ClCompile Include=\"..\\..\\Src\\" + std::string(name) +
                               "\" />\r\n"),
                  std::string::npos)
            << name;
    }
    const std::string stubs = WriteStubImports(other);
    Evaluate(otherPrj + "/App.vcxproj.new", stubs);
    Evaluate(otherPrj + "/App.vcxproj.filters.new", stubs);
}

}  // namespace
}  // namespace tamrivo
