#include "platform/VersionInfo.h"

#ifdef _WIN32

#include <windows.h>
#include <winver.h>

namespace tamrivo {

static_assert(sizeof(VS_FIXEDFILEINFO) == sizeof(FixedFileInfo), "the same fields");

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

}  // namespace

std::uint32_t VersionInfoSize(const std::string& programPath) {
    DWORD handle = 0;
    return GetFileVersionInfoSizeA(ProgramFile(programPath).c_str(), &handle);
}

bool ReadVersionInfo(const std::string& programPath, std::uint32_t size, void* data) {
    return GetFileVersionInfoA(ProgramFile(programPath).c_str(), 0, size, data) != FALSE;
}

bool QueryVersionValue(const void* data, const std::string& subBlock, const void*& value,
                       std::uint32_t& length) {
    LPVOID found = nullptr;
    UINT foundLength = 0;
    if (!VerQueryValueA(data, subBlock.c_str(), &found, &foundLength)) {
        return false;
    }
    value = found;
    length = foundLength;
    return true;
}

}  // namespace tamrivo

#else

#include <cstring>
#include <iterator>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/FileAccess.h"
#include "platform/VersionBlock.h"

namespace tamrivo {
namespace {

constexpr std::string_view kStringFileInfo = "\\StringFileInfo\\";

// The file that a program path names; a bare name was found on PATH and is the running program.
std::string ProgramFile(const std::string& programPath) {
    if (!programPath.empty() && programPath.find('/') == std::string::npos) {
        return "/proc/self/exe";
    }
    return programPath;
}

std::string ReadWholeFile(const std::string& path) {
    boost::filesystem::ifstream stream;
    OpenInputFile(stream, NativePath(path));
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

// The texts of a string table, its name first, then keys and values; nothing when the table is
// malformed: a text without its NUL, an empty name, or bytes after the empty text that ends it.
std::optional<std::vector<std::string_view> > SplitStringTable(std::string_view table) {
    std::vector<std::string_view> texts;
    while (true) {
        const std::size_t end = table.find('\0');
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        const std::string_view text = table.substr(0, end);
        table.remove_prefix(end + 1);
        const bool atKey = texts.size() % 2 == 1;
        if (text.empty() && atKey) {
            return table.empty() ? std::optional(texts) : std::nullopt;
        }
        if (text.empty() && texts.empty()) {
            return std::nullopt;
        }
        texts.push_back(text);
    }
}

VersionBlockHead HeadAt(const char* bytes) {
    VersionBlockHead head;
    std::memcpy(&head, bytes, sizeof head);
    return head;
}

// The first well-formed version block in a file's bytes. The marker alone proves nothing: its
// bytes also stand in the code that searches for it, so every candidate is checked whole.
std::optional<std::string_view> FindVersionBlock(std::string_view file) {
    const std::string_view marker(kVersionBlockMarker.data(), kVersionBlockMarker.size());
    for (std::size_t at = file.find(marker); at != std::string_view::npos;
         at = file.find(marker, at + 1)) {
        if (file.size() - at < sizeof(VersionBlockHead)) {
            break;
        }
        const VersionBlockHead head = HeadAt(file.data() + at);
        const std::size_t tableStart = at + sizeof head;
        if (head.fixed.signature != kFixedFileInfoSignature ||
            head.fixed.structVersion != kFixedFileInfoStructVersion ||
            head.stringTableSize > file.size() - tableStart ||
            !SplitStringTable(file.substr(tableStart, head.stringTableSize))) {
            continue;
        }
        return file.substr(at, sizeof head + head.stringTableSize);
    }
    return std::nullopt;
}

}  // namespace

std::uint32_t VersionInfoSize(const std::string& programPath) {
    const std::string file = ReadWholeFile(ProgramFile(programPath));
    const auto block = FindVersionBlock(file);
    return block ? static_cast<std::uint32_t>(block->size()) : 0;
}

bool ReadVersionInfo(const std::string& programPath, std::uint32_t size, void* data) {
    const std::string file = ReadWholeFile(ProgramFile(programPath));
    const auto block = FindVersionBlock(file);
    if (!block || block->size() > size) {
        return false;
    }
    std::memcpy(data, block->data(), block->size());
    return true;
}

bool QueryVersionValue(const void* data, const std::string& subBlock, const void*& value,
                       std::uint32_t& length) {
    const char* bytes = static_cast<const char*>(data);
    if (subBlock == "\\") {
        value = bytes + offsetof(VersionBlockHead, fixed);
        length = sizeof(FixedFileInfo);
        return true;
    }
    if (subBlock.compare(0, kStringFileInfo.size(), kStringFileInfo) != 0) {
        return false;
    }
    const std::string_view path = std::string_view(subBlock).substr(kStringFileInfo.size());
    const std::size_t separator = path.find('\\');
    if (separator == std::string_view::npos) {
        return false;
    }
    const std::string_view tableName = path.substr(0, separator);
    const std::string_view key = path.substr(separator + 1);
    const auto texts = SplitStringTable(
        std::string_view(bytes + sizeof(VersionBlockHead), HeadAt(bytes).stringTableSize));
    if (!texts || texts->front() != tableName) {
        return false;
    }
    for (std::size_t i = 1; i + 1 < texts->size(); i += 2) {
        if ((*texts)[i] == key) {
            value = (*texts)[i + 1].data();
            length = static_cast<std::uint32_t>((*texts)[i + 1].size() + 1);
            return true;
        }
    }
    return false;
}

}  // namespace tamrivo

#endif
