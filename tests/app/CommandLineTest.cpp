#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include "CommandLineTestSupport.h"
#include "TestSupport.h"

namespace tamrivo {
namespace {

TEST(ParseCommandLine, FindsOptionsInAnyOrderAmongOtherArguments) {
    Inputs in;
    const Parsed parsed =
        Parse({"Tamrivo", "--SrcPath=" + in.src, "other", "--VcxprojFiltersPath=" + in.filters,
               "--VcxprojPath=" + in.project, "--SrcPath=ignored"});
    EXPECT_TRUE(parsed.accepted);
    EXPECT_TRUE(parsed.options.hasVcxprojPath);
    EXPECT_TRUE(parsed.options.hasVcxprojFiltersPath);
    EXPECT_TRUE(parsed.options.hasSrcPath);
    EXPECT_EQ(parsed.options.vcxprojPath, in.project);
    EXPECT_EQ(parsed.options.vcxprojFiltersPath, in.filters);
    EXPECT_EQ(parsed.options.srcPath, in.src);
    EXPECT_EQ(parsed.output, "");
}

TEST(ParseCommandLine, TakesTheValueAfterTheNameAndOneSeparatorCharacter) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"--SrcPath:D:\\Repo\\Src", "D:\\Repo\\Src"},
        {"x--SrcPath=D:\\Src", "=D:\\Src"},
        {"--SrcPath=", ""},
        {"--SrcPath", ""},
        {"--SrcPath=a", "a"},
    };
    for (const auto& [argument, value] : cases) {
        const Parsed parsed = Parse({"Tamrivo", argument});
        EXPECT_TRUE(parsed.options.hasSrcPath) << argument;
        EXPECT_EQ(parsed.options.srcPath, value) << argument;
        EXPECT_FALSE(parsed.accepted);
    }
    // The program's own path takes part in the search; the index counts from the argument's start.
    EXPECT_EQ(Parse({"/opt/--SrcPath=x/Tamrivo"}).options.srcPath, "Path=x/Tamrivo");
}

TEST(ParseCommandLine, RefusesMissingValuesAndWrongKindsOfPath) {
    Inputs in;
    const std::string project = "--VcxprojPath=" + in.project;
    const std::string filters = "--VcxprojFiltersPath=" + in.filters;
    const std::string src = "--SrcPath=" + in.src;
    EXPECT_FALSE(Parse({"Tamrivo", project, src}).accepted);
    EXPECT_FALSE(Parse({"Tamrivo", project, filters, "--SrcPath", in.src}).accepted);
    EXPECT_FALSE(Parse({"Tamrivo", project, filters, "--SrcPath=" + in.project}).accepted);
    EXPECT_FALSE(Parse({"Tamrivo", project, filters, "--SrcPath=" + in.dir / "none"}).accepted);
    EXPECT_FALSE(
        Parse({"Tamrivo", project, "--VcxprojFiltersPath=" + in.dir / "none", src}).accepted);
    // Any existing object passes for the two files, a folder too.
    EXPECT_TRUE(Parse({"Tamrivo", "--VcxprojPath=" + in.src, "--VcxprojFiltersPath=" + in.src, src})
                    .accepted);
}

TEST(MakeNewFilePath, AppendsToTheCallersString) {
    std::string path = "D:\\Repo\\Prj\\App.vcxproj.filters";
    EXPECT_EQ(MakeNewFilePath(path), "D:\\Repo\\Prj\\App.vcxproj.filters.new");
    EXPECT_EQ(path, "D:\\Repo\\Prj\\App.vcxproj.filters.new");
}

}  // namespace
}  // namespace tamrivo
