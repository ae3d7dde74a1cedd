#include "app/Banner.h"

#include <cstdint>
#include <cstring>
#include <ostream>
#include <vector>

#include "platform/VersionInfo.h"

namespace tamrivo {
namespace {

constexpr char kBuildDate[] = __DATE__;

// A text of the version data's string table; empty when the key is missing.
std::string VersionString(const std::vector<char>& versionData, const std::string& key) {
    const void* value = nullptr;
    std::uint32_t length = 0;
    if (!QueryVersionValue(versionData.data(), "\\StringFileInfo\\040904b0\\" + key, value,
                           length)) {
        return std::string();
    }
    return static_cast<const char*>(value);
}

}  // namespace

void PrintBanner(const std::string& programPath, std::ostream& output) {
    const std::uint32_t size = VersionInfoSize(programPath);
    if (size == 0) {
        return;
    }
    std::vector<char> versionData(size);
    const void* value = nullptr;
    std::uint32_t length = 0;
    if (!ReadVersionInfo(programPath, size, versionData.data()) ||
        !QueryVersionValue(versionData.data(), "\\", value, length) ||
        length < sizeof(FixedFileInfo)) {
        return;
    }
    FixedFileInfo fixed;
    std::memcpy(&fixed, value, sizeof fixed);
    const std::string versionText = std::to_string(fixed.fileVersionMS >> 16) + "." +
                                    std::to_string(fixed.fileVersionMS & 0xFFFF);
    const std::string legalText = VersionString(versionData, "LegalCopyright");
    const std::string nameText = VersionString(versionData, "OriginalFilename");

    output << nameText << " version " << versionText << " from " << kBuildDate << std::endl;
    output << legalText << std::endl;
}

}  // namespace tamrivo
