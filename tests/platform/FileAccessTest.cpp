#include "platform/FileAccess.h"

#include <gtest/gtest.h>

#include <deque>
#include <sstream>
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
    std::deque<std::string> lines;
    ReadCompleteLines(stream, lines);
    EXPECT_EQ(lines, (std::deque<std::string>{"one", "two\rthree", "\x1a four", ""}));
}

TEST(AppendTextLine, WritesLinesOfEveryLengthInOrder) {
    // Lengths around the buffer's size: lines that fill it, that overflow it, that exceed it.
    const std::size_t lengths[] = {0,
                                   1,
                                   TextBufferBytes - 3,
                                   TextBufferBytes - 2,
                                   1,
                                   TextBufferBytes - 1,
                                   TextBufferBytes,
                                   3 * TextBufferBytes,
                                   7};
    std::ostringstream output;
    TextLineBuffer buffer{output, {}};
    std::string expected;
    char filler = 'a';
    for (const std::size_t length : lengths) {
        const std::string line(length, filler++);
        AppendTextLine(buffer, {line.substr(0, length / 2), line.substr(length / 2)});
        expected += line + "\r\n";
    }
    FlushTextLines(buffer);
    EXPECT_TRUE(output.str() == expected);
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
