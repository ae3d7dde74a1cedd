#include "platform/FileAccess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "platform/TextFile.h"

namespace tamrivo {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

// Bytes that a text-mode stream on Windows would change: LF to CR LF on writing, CR LF to LF and
// Ctrl-Z as the end of the file on reading.
const std::string kAwkwardBytes = "one\r\ntwo\rthree\n\x1a four\r\n\r\nlast";

TEST(OpenOutputFile, WritesEveryByteUnchanged) {
    TempDir dir;
    const std::string path = dir / "out.txt";
    {
        boost::filesystem::ofstream stream;
        OpenOutputFile(stream, NativePath(path));
        stream << kAwkwardBytes;
        WriteTextLine(stream, "");
        WriteTextLine(stream, "end");
    }
    EXPECT_EQ(ReadFile(path), kAwkwardBytes + "\r\nend\r\n");
}

TEST(OpenInputFile, ReadsEveryByteUnchanged) {
    TempDir dir;
    const std::string path = dir / "in.txt";
    WriteFile(path, kAwkwardBytes);
    boost::filesystem::ifstream stream;
    OpenInputFile(stream, NativePath(path));
    std::vector<std::string> lines;
    std::string line;
    while (ReadTextLine(stream, line) != LineRead::Nothing) {
        lines.push_back(line);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "two\rthree", "\x1a four", "", "last"}));
}

TEST(NativePathFromWindowsForm, NamesTheFileThatTheWindowsFormNames) {
    TempDir dir;
    WriteFile(dir / "Lib/Sub/io.c", "bytes");
    boost::filesystem::ifstream stream;
    OpenInputFile(stream, NativePathFromWindowsForm(dir.path() + "\\Lib\\Sub\\io.c"));
    std::string content;
    EXPECT_TRUE(std::getline(stream, content));
    EXPECT_EQ(content, "bytes");
    EXPECT_EQ(NarrowString(NativePath(dir.path())), dir.path());
}

}  // namespace
}  // namespace tamrivo
