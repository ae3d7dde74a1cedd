#include "app/Banner.h"

#include <gtest/gtest.h>

#include <sstream>

#include "TestSupport.h"

namespace tamrivo {
namespace {

using namespace std::string_literals;
using testing::TempDir;
using testing::VersionBlockBytes;
using testing::WriteFile;

std::string Banner(const std::string& programPath) {
    std::ostringstream output;
    PrintBanner(programPath, output);
    return testing::MaskBuildDate(output.str());
}

TEST(PrintBanner, PrintsNameVersionDateAndLegalTextOfTheProgramFile) {
    const struct {
        const char* name;
        std::string bytes;
        std::string banner;
    } cases[] = {
        {"file version 3.12.7.1",
         VersionBlockBytes(
             0x0003000C, 0x00070001,
             "040904b0\0LegalCopyright\0Legal text\0OriginalFilename\0Tamrivo.exe\0\0"s),
         "Tamrivo.exe version 3.12 from <build date>\nLegal text\n"},
        {"16-bit parts in full",
         VersionBlockBytes(0xFFFF8000, 0xFFFFFFFF, "040904b0\0OriginalFilename\0T.exe\0\0"s),
         "T.exe version 65535.32768 from <build date>\n\n"},
        {"no LegalCopyright",
         VersionBlockBytes(0x00010000, 0, "040904b0\0OriginalFilename\0Tamrivo.exe\0\0"s),
         "Tamrivo.exe version 1.0 from <build date>\n\n"},
        {"no OriginalFilename",
         VersionBlockBytes(0x00010000, 0, "040904b0\0LegalCopyright\0L\0\0"s),
         " version 1.0 from <build date>\nL\n"},
        {"a string table of another language",
         VersionBlockBytes(0x00010000, 0,
                           "040704b0\0LegalCopyright\0L\0OriginalFilename\0Tamrivo.exe\0\0"s),
         " version 1.0 from <build date>\n\n"},
        {"no version data", "#!/bin/sh\necho version 1.0\n", ""},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(dir / "Tamrivo.exe", "code" + c.bytes + "more code");
        EXPECT_EQ(Banner(dir / "Tamrivo.exe"), c.banner);
    }
    EXPECT_EQ(Banner(dir / "missing.exe"), "");
}

}  // namespace
}  // namespace tamrivo
