// The version resource compiled into the real Tamrivo.exe, read with the Windows version functions
// themselves.
#include <windows.h>
#include <winver.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace tamrivo {
namespace {

// The version data of Tamrivo.exe as GetFileVersionInfoA gives it.
std::vector<char> TamrivoVersionData() {
    const std::string program = testing::TamrivoExecutable();
    DWORD handle = 1;
    const DWORD size = GetFileVersionInfoSizeA(program.c_str(), &handle);
    EXPECT_NE(size, 0u) << program;
    EXPECT_EQ(handle, 0u);
    std::vector<char> data(size);
    EXPECT_TRUE(size != 0 && GetFileVersionInfoA(program.c_str(), 0, size, data.data()));
    return data;
}

// The bytes of one value; empty when VerQueryValueA finds none.
std::string Query(const std::vector<char>& data, const std::string& subBlock, bool isText) {
    LPVOID value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), subBlock.c_str(), &value, &length)) {
        return "<missing>";
    }
    if (isText) {
        // The length counts the text's characters and its NUL.
        EXPECT_EQ(length, std::strlen(static_cast<const char*>(value)) + 1) << subBlock;
        return static_cast<const char*>(value);
    }
    return std::string(static_cast<const char*>(value), length);
}

std::string StringTableValue(const std::vector<char>& data, const std::string& key) {
    return Query(data, "\\StringFileInfo\\040904b0\\" + key, true);
}

std::size_t Aligned(std::size_t offset) {
    return (offset + 3) & ~std::size_t{3};
}

std::uint16_t WordAt(const std::vector<char>& data, std::size_t offset) {
    std::uint16_t word;
    std::memcpy(&word, data.data() + offset, sizeof word);
    return word;
}

// The keys of a version block and of everything below it, as "Key(Child,Child(Grandchild))":
// each block is its length in bytes, its value's length (in UTF-16 units for a text, type 1), its
// type, its key as a NUL-ended UTF-16 text, its value and its children, each part starting at a
// multiple of four bytes.
std::string Outline(const std::vector<char>& data, std::size_t at) {
    const std::size_t end = at + WordAt(data, at);
    const bool isText = WordAt(data, at + 4) == 1;
    const std::size_t valueBytes = WordAt(data, at + 2) * (isText ? 2u : 1u);
    std::string outline;
    std::size_t offset = at + 6;
    for (; WordAt(data, offset) != 0; offset += 2) {
        outline += static_cast<char>(WordAt(data, offset));
    }
    std::string children;
    for (std::size_t child = Aligned(Aligned(offset + 2) + valueBytes); child < end;
         child = Aligned(child + WordAt(data, child))) {
        children += (children.empty() ? "" : ",") + Outline(data, child);
    }
    return children.empty() ? outline : outline + "(" + children + ")";
}

TEST(TamrivoVersionResource, HasTheFixedFileInformationOfVersion1) {
    const std::vector<char> data = TamrivoVersionData();
    const std::string bytes = Query(data, "\\", false);
    ASSERT_EQ(bytes.size(), sizeof(VS_FIXEDFILEINFO));
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, bytes.data(), sizeof fixed);
    EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed.dwStrucVersion, 0x00010000u);
    EXPECT_EQ(fixed.dwFileVersionMS, 0x00010000u);  // 1.0.0.0
    EXPECT_EQ(fixed.dwFileVersionLS, 0u);
    EXPECT_EQ(fixed.dwProductVersionMS, 0x00010000u);  // 1.0.0.0
    EXPECT_EQ(fixed.dwProductVersionLS, 0u);
    EXPECT_EQ(fixed.dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed.dwFileFlags, 0u);
    EXPECT_EQ(fixed.dwFileOS, 0x40004u);  // VOS_NT_WINDOWS32
    EXPECT_EQ(fixed.dwFileType, 1u);      // VFT_APP
    EXPECT_EQ(fixed.dwFileSubtype, 0u);
}

TEST(TamrivoVersionResource, HasOneUsEnglishUnicodeStringTableWithItsKeysInOrder) {
    const std::vector<char> data = TamrivoVersionData();
    EXPECT_EQ(Outline(data, 0),
              "VS_VERSION_INFO(StringFileInfo(040904b0(CompanyName,FileDescription,FileVersion,"
              "InternalName,LegalCopyright,OriginalFilename,ProductName,ProductVersion)),"
              "VarFileInfo(Translation))");

    EXPECT_EQ(StringTableValue(data, "FileVersion"), "1.2.0.0");
    EXPECT_EQ(StringTableValue(data, "InternalName"), "Tamrivo");
    EXPECT_EQ(StringTableValue(data, "OriginalFilename"), "Tamrivo.exe");
    EXPECT_EQ(StringTableValue(data, "ProductName"), "Tamrivo");
    EXPECT_EQ(StringTableValue(data, "ProductVersion"), "1.4.0.0");
    // Ours to choose: the banner's second line prints LegalCopyright.
    EXPECT_EQ(testing::MaskedBanner(), "Tamrivo.exe version 1.0 from <build date>\n" +
                                           StringTableValue(data, "LegalCopyright") + "\n");
    EXPECT_NE(StringTableValue(data, "CompanyName"), "");
    EXPECT_NE(StringTableValue(data, "FileDescription"), "");
    EXPECT_EQ(StringTableValue(data, "Comments"), "<missing>");

    // U.S. English (0x0409), Unicode (code page 1200, 0x04B0).
    EXPECT_EQ(Query(data, "\\VarFileInfo\\Translation", false), std::string("\x09\x04\xB0\x04", 4));
}

}  // namespace
}  // namespace tamrivo
