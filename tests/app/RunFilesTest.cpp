#include "app/RunFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <istream>
#include <sstream>

#include "TestSupport.h"

namespace tamrivo {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

struct ReadOutcome {
    bool ok;
    std::string content;
    std::string output;
};

ReadOutcome ReadAll(const std::string& path) {
    ReadOutcome outcome;
    std::ostringstream output;
    outcome.ok = ReadRunInput(
        "project file", path,
        [&](std::istream& in) {
            std::ostringstream bytes;
            if (in.rdbuf() && in.good()) {
                bytes << in.rdbuf();
            }
            outcome.content = bytes.str();
        },
        output);
    outcome.output = output.str();
    return outcome;
}

TEST(ReadRunInput, ReadsAFileAndReportsWhatCannotBeRead) {
    TempDir dir;
    WriteFile(dir / "App.vcxproj", "a\r\nb");
    const ReadOutcome good = ReadAll(dir / "App.vcxproj");
    EXPECT_TRUE(good.ok);
    EXPECT_EQ(good.content, "a\r\nb");
    EXPECT_EQ(good.output, "");

    const ReadOutcome folder = ReadAll(dir.path());
    EXPECT_FALSE(folder.ok);
    EXPECT_EQ(folder.content, "");
    EXPECT_EQ(folder.output,
              "Tamrivo error: Cannot read the project file: " + dir.path() + " (it is a folder)\n");

    testing::OpenToEveryone(dir.path());
    ASSERT_EQ(chmod((dir / "App.vcxproj").c_str(), 0), 0);
    ReadOutcome locked;
    testing::AsUnprivilegedUser([&] { locked = ReadAll(dir / "App.vcxproj"); });
    EXPECT_FALSE(locked.ok);
    EXPECT_EQ(locked.output, "Tamrivo error: Cannot read the project file: " + dir / "App.vcxproj" +
                                 " (Permission denied)\n");
}

bool WriteText(const std::string& path, const std::vector<std::string>& inputs,
               const std::string& text, std::string& output) {
    std::ostringstream messages;
    const bool ok = WriteRunOutput(
        "new project file", path, inputs, [&](std::ostream& out) { out << text; }, messages);
    output = messages.str();
    return ok;
}

TEST(WriteRunOutput, WritesAndReportsFilesThatCannotBeWritten) {
    TempDir dir;
    std::string output;
    WriteFile(dir / "out.new", "old content that is longer");
    EXPECT_TRUE(WriteText(dir / "out.new", {}, "new", output));
    EXPECT_EQ(ReadFile(dir / "out.new"), "new");
    EXPECT_EQ(output, "");

    ASSERT_EQ(symlink("/dev/full", (dir / "full.new").c_str()), 0);
    EXPECT_FALSE(WriteText(dir / "full.new", {}, std::string(100000, 'x'), output));
    EXPECT_EQ(output, "Tamrivo error: Cannot write the new project file: " + dir / "full.new" +
                          " (No space left on device)\n");

    EXPECT_FALSE(WriteText(dir / "missing/out.new", {}, "x", output));
    EXPECT_EQ(output, "Tamrivo error: Cannot create the new project file: " +
                          dir / "missing/out.new" + " (No such file or directory)\n");
}

TEST(WriteRunOutput, NeverWritesOverAnInputFile) {
    TempDir dir;
    WriteFile(dir / "App.vcxproj.filters", "keep");
    ASSERT_EQ(symlink((dir / "App.vcxproj.filters").c_str(), (dir / "App.vcxproj.new").c_str()), 0);
    std::string output;
    EXPECT_FALSE(WriteText(dir / "App.vcxproj.new",
                           {dir / "App.vcxproj", dir / "App.vcxproj.filters"}, "x", output));
    EXPECT_EQ(ReadFile(dir / "App.vcxproj.filters"), "keep");
    EXPECT_EQ(output, "Tamrivo error: Refusing to write the new project file: " +
                          dir / "App.vcxproj.new" + " (it is an input file of this run)\n");
}

}  // namespace
}  // namespace tamrivo
