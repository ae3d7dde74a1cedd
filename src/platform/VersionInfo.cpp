#include "platform/VersionInfo.h"

#ifdef _WIN32

#include <windows.h>
#include <winver.h>

#include <cstring>
#include <vector>

namespace tamrivo {
namespace {

// The file that a program path names. Windows starts "Tamrivo" as Tamrivo.exe, but the version
// functions load a name without an extension as a DLL, Tamrivo.dll: such a name gets the ".exe"
// that starting the program gave it.
std::string ProgramFile(const std::string& programPath) {
    const std::size_t folderEnd = programPath.find_last_of("\\/:");
    const std::size_t nameStart = folderEnd == std::string::npos ? 0 : folderEnd + 1;
    if (programPath.find('.', nameStart) == std::string::npos) {
        return programPath + ".exe";
    }
    return programPath;
}

// A text of the version data's string table; empty when the key is missing.
std::string VersionString(std::vector<char>& versionData, const std::string& key) {
    LPVOID value = nullptr;
    UINT length = 0;
    const std::string subBlock = "\\StringFileInfo\\040904b0\\" + key;
    if (!VerQueryValueA(versionData.data(), subBlock.c_str(), &value, &length)) {
        return std::string();
    }
    return static_cast<const char*>(value);
}

}  // namespace

std::optional<VersionTexts> ProgramVersionTexts(const std::string& programPath) {
    const std::string file = ProgramFile(programPath);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &handle);
    if (size == 0) {
        return std::nullopt;
    }
    std::vector<char> versionData(size);
    LPVOID value = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoA(file.c_str(), 0, size, versionData.data()) ||
        !VerQueryValueA(versionData.data(), "\\", &value, &length) ||
        length < sizeof(VS_FIXEDFILEINFO)) {
        return std::nullopt;
    }
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, value, sizeof fixed);
    VersionTexts texts;
    texts.version = std::to_string(fixed.dwFileVersionMS >> 16) + "." +
                    std::to_string(fixed.dwFileVersionMS & 0xFFFF);
    texts.legal = VersionString(versionData, "LegalCopyright");
    texts.name = VersionString(versionData, "OriginalFilename");
    return texts;
}

}  // namespace tamrivo

#else

#include "platform/VersionTexts.h"

namespace tamrivo {

std::optional<VersionTexts> ProgramVersionTexts(const std::string&) {
    return VersionTexts{kVersionName, kVersionNumber, kVersionLegal};
}

}  // namespace tamrivo

#endif
