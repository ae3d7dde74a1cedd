#include "platform/VersionInfo.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "TestSupport.h"
#include "platform/VersionBlock.h"

namespace tamrivo {
namespace {

using namespace std::string_literals;
using testing::TempDir;
using testing::VersionBlockBytes;
using testing::WriteFile;

const std::string kTable =
    "040904b0\0CompanyName\0Tamrivo developers\0FileDescription\0\0LegalCopyright\0Legal\0\0"s;
const std::string kMarker(kVersionBlockMarker.begin(), kVersionBlockMarker.end());

// The version data of a file, or nothing when VersionInfoSize or ReadVersionInfo finds none.
std::vector<char> ReadAll(const std::string& path) {
    const std::uint32_t size = VersionInfoSize(path);
    std::vector<char> data(size + 16);
    if (size == 0 || !ReadVersionInfo(path, size, data.data())) {
        return {};
    }
    return data;
}

std::string Query(const std::vector<char>& data, const std::string& subBlock) {
    const void* value = nullptr;
    std::uint32_t length = 0;
    if (!QueryVersionValue(data.data(), subBlock, value, length)) {
        return "<missing>";
    }
    EXPECT_EQ(length, std::strlen(static_cast<const char*>(value)) + 1) << subBlock;
    return static_cast<const char*>(value);
}

TEST(VersionInfo, FindsTheWellFormedBlockBehindFalseMarkers) {
    TempDir dir;
    const std::string block = VersionBlockBytes(0x0003000C, 0x00070001, kTable);
    WriteFile(dir / "program",
              "\x7F"
              "ELF" +
                  kMarker + "not a version block" + std::string(100, '\0') + kMarker +
                  std::string(80, '\xBD') + block + "trailing code" + kMarker);

    EXPECT_EQ(VersionInfoSize(dir / "program"), block.size());
    const std::vector<char> data = ReadAll(dir / "program");
    ASSERT_FALSE(data.empty());
    const void* value = nullptr;
    std::uint32_t length = 0;
    ASSERT_TRUE(QueryVersionValue(data.data(), "\\", value, length));
    ASSERT_EQ(length, sizeof(FixedFileInfo));
    FixedFileInfo fixed;
    std::memcpy(&fixed, value, sizeof fixed);
    EXPECT_EQ(fixed.fileVersionMS, 0x0003000Cu);
    EXPECT_EQ(fixed.fileVersionLS, 0x00070001u);
    EXPECT_EQ(fixed.fileOS, 0x40004u);

    EXPECT_EQ(Query(data, "\\StringFileInfo\\040904b0\\CompanyName"), "Tamrivo developers");
    EXPECT_EQ(Query(data, "\\StringFileInfo\\040904b0\\LegalCopyright"), "Legal");
    EXPECT_EQ(Query(data, "\\StringFileInfo\\040904b0\\FileDescription"), "");
    EXPECT_EQ(Query(data, "\\StringFileInfo\\040904b0\\ProductName"), "<missing>");
    EXPECT_EQ(Query(data, "\\StringFileInfo\\040704b0\\CompanyName"), "<missing>");
    EXPECT_EQ(Query(data, "\\StringFileInfo\\040904b0"), "<missing>");
    EXPECT_EQ(Query(data, "\\VarFileInfo\\Translation"), "<missing>");

    std::vector<char> small(block.size() - 1);
    EXPECT_FALSE(ReadVersionInfo(dir / "program", block.size() - 1, small.data()));
}

TEST(VersionInfo, FindsNothingInFilesWithoutAWellFormedBlock) {
    const std::string block = VersionBlockBytes(0x00010000, 0, kTable);
    const std::size_t fixedAt = kMarker.size();
    const auto changed = [&block](std::size_t at, char byte) {
        std::string bytes = block;
        bytes[at] = byte;
        return bytes;
    };
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"no marker", "plain text\n"},
        {"an empty file", ""},
        {"the marker at the end", "code" + kMarker},
        {"a wrong signature", changed(fixedAt, 0)},
        {"a wrong structure version", changed(fixedAt + 6, 2)},
        {"a string table beyond the end", block.substr(0, block.size() - 1)},
        {"a text without its NUL",
         VersionBlockBytes(0x00010000, 0, "040904b0\0LegalCopyright\0Legal"s)},
        {"no name", VersionBlockBytes(0x00010000, 0, "\0LegalCopyright\0Legal\0\0"s)},
        {"bytes after the end of the table", VersionBlockBytes(0x00010000, 0, kTable + "x")},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(dir / "program", c.bytes);
        EXPECT_EQ(VersionInfoSize(dir / "program"), 0u);
        std::vector<char> data(4096);
        EXPECT_FALSE(ReadVersionInfo(dir / "program", 4096, data.data()));
    }
    EXPECT_EQ(VersionInfoSize(dir / "missing"), 0u);
}

}  // namespace
}  // namespace tamrivo
