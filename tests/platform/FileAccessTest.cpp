#include "platform/FileAccess.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "TestSupport.h"
#include "platform/TextFile.h"

namespace tamrivo {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

// Bytes that a text-mode stream on Windows would change: CR LF to LF and Ctrl-Z as the end of the
// file.
const std::string kAwkwardBytes = "one\r\ntwo\rthree\n\x1a four\r\n\r\nlast";

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
