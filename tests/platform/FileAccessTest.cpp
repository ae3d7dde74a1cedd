#include "platform/FileAccess.h"

#include <gtest/gtest.h>

#include <boost/filesystem/operations.hpp>
#include <deque>
#include <istream>
#include <string>

#include "TestSupport.h"
#include "platform/InputFile.h"
#include "platform/TextFile.h"

namespace tamrivo {
namespace {

using testing::TempDir;
using testing::WriteFile;

// Bytes that a text-mode stream on Windows would change: CR LF to LF and Ctrl-Z as the end of the
// file.
const std::string kAwkwardBytes = "one\r\ntwo\rthree\n\x1a four\r\n\r\nlast";

TEST(OpenInputFile, ReadsEveryByteUnchanged) {
    TempDir dir;
    const std::string path = dir / "in.txt";
    WriteFile(path, kAwkwardBytes);
    InputFile file;
    EXPECT_FALSE(OpenInputFile(NativePath(path), file));
    InputFileBuffer buffer(file);
    std::istream stream(&buffer);
    std::deque<std::string> lines;
    EXPECT_EQ(ReadCompleteLines(stream, lines), "last");
    EXPECT_EQ(lines, (std::deque<std::string>{"one", "two\rthree", "\x1a four", ""}));
    EXPECT_FALSE(buffer.Error());
}

TEST(NativePathFromWindowsForm, NamesTheFileThatTheWindowsFormNames) {
    TempDir dir;
    WriteFile(dir / "Lib/Sub/io.c", "bytes");
    EXPECT_TRUE(boost::filesystem::is_regular_file(
        NativePathFromWindowsForm(dir.path() + "\\Lib\\Sub\\io.c")));
    EXPECT_EQ(NarrowString(NativePath(dir.path())), dir.path());
}

}  // namespace
}  // namespace tamrivo
