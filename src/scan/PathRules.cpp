#include "scan/PathRules.h"

#include <algorithm>

#include "model/ProjectText.h"

namespace tamrivo {
namespace {

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Characters of a device root name such as "prn:" or "com1:".
bool IsDeviceNameChar(char c) {
    return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '$';
}

std::size_t FindSeparator(const std::string& path, std::size_t from) {
    const std::size_t pos = path.find_first_of("\\/", from);
    return pos == std::string::npos ? path.size() : pos;
}

// Where the root directory starts (path.size() when there is none), and the root name's length.
std::size_t FindRootDirectoryStart(const std::string& path, std::size_t& rootNameSize) {
    const std::size_t size = path.size();
    rootNameSize = 0;
    if (size == 0) {
        return 0;
    }
    bool parsingRootName = false;
    std::size_t pos = 0;
    if (IsWindowsSeparator(path[0])) {
        if (size >= 2 && IsWindowsSeparator(path[1])) {
            if (size == 2) {
                rootNameSize = 2;
                return 2;
            }
            if (size >= 4 && (path[2] == '?' || path[2] == '.') && IsWindowsSeparator(path[3])) {
                // "\\?\" and "\\.\" prefixes
                parsingRootName = true;
                pos = 4;
            } else if (IsWindowsSeparator(path[2])) {
                return 0;
            } else {
                // "\\host": the network name is the root name
                pos = FindSeparator(path, 2);
                rootNameSize = pos;
                return pos;
            }
        } else if (size >= 4 && path[1] == '?' && path[2] == '?' && IsWindowsSeparator(path[3])) {
            // "\??\" prefix
            parsingRootName = true;
            pos = 4;
        } else {
            return 0;
        }
    }
    // "C:" or a device name such as "prn:"
    if (size - pos >= 2 && IsAsciiLetter(path[pos])) {
        std::size_t i = pos + 1;
        while (i < size && IsDeviceNameChar(path[i])) {
            ++i;
        }
        if (i < size && path[i] == ':') {
            pos = i + 1;
            rootNameSize = pos;
            parsingRootName = false;
            if (pos < size && IsWindowsSeparator(path[pos])) {
                return pos;
            }
        }
    }
    if (!parsingRootName) {
        return size;
    }
    pos = FindSeparator(path, pos);
    rootNameSize = pos;
    return pos;
}

// Where the text after the first "Src" and the one byte after it begins; 0 without a "Src".
std::size_t TrimmedStart(std::string_view path) {
    const std::size_t marker = path.find(SrcMarker);
    return marker == std::string_view::npos ? 0
                                            : std::min(path.size(), marker + SrcMarker.size() + 1);
}

// The length of the parent of a path by Windows path rules: the parent is always a prefix.
std::size_t WindowsParentPathLength(const std::string& path) {
    std::size_t rootNameSize = 0;
    const std::size_t rootDirectory = FindRootDirectoryStart(path, rootNameSize);

    std::size_t filenameStart = path.size();
    while (filenameStart > rootNameSize && !IsWindowsSeparator(path[filenameStart - 1])) {
        --filenameStart;
    }
    const std::size_t filenameSize = path.size() - filenameStart;

    // Drop the file name and the separators before it, but keep a root directory and a root name.
    std::size_t end = filenameStart;
    while (true) {
        if (end <= rootNameSize) {
            if (filenameSize == 0) {
                end = 0;
            }
            break;
        }
        --end;
        if (!IsWindowsSeparator(path[end])) {
            ++end;
            break;
        }
        if (end == rootDirectory) {
            end += filenameSize > 0 ? 1 : 0;
            break;
        }
    }
    return end;
}

// The length of the start that all texts share.
template <std::size_t N>
constexpr std::size_t SharedStartLength(const std::array<std::string_view, N>& texts) {
    std::size_t length = texts[0].size();
    for (const std::string_view text : texts) {
        std::size_t same = 0;
        while (same < length && same < text.size() && text[same] == texts[0][same]) {
            ++same;
        }
        length = same;
    }
    return length;
}

}  // namespace

std::string TrimThroughSrc(std::string& path) {
    path.erase(0, TrimmedStart(path));
    return path;
}

std::string WindowsParentPath(const std::string& path) {
    return path.substr(0, WindowsParentPathLength(path));
}

std::string ParentFolderRelativeToSrc(std::string& path) {
    path.erase(WindowsParentPathLength(path));
    return TrimThroughSrc(path);
}

std::string_view ParentFolderViewRelativeToSrc(const std::string& path) {
    std::string_view folder(path.data(), WindowsParentPathLength(path));
    folder.remove_prefix(TrimmedStart(folder));
    return folder;
}

bool IsOutsideExcludedFolders(const std::string& path) {
    // Every marker begins with the same component folder: one search finds each place where a
    // marker may stand, instead of one search through the whole path per marker.
    constexpr std::string_view kShared =
        ExcludedFolderMarkers[0].substr(0, SharedStartLength(ExcludedFolderMarkers));
    for (std::size_t at = path.find(kShared); at != std::string::npos;
         at = path.find(kShared, at + 1)) {
        const std::string_view rest = std::string_view(path).substr(at);
        if (std::any_of(ExcludedFolderMarkers.begin(), ExcludedFolderMarkers.end(),
                        [rest](std::string_view marker) {
                            return rest.substr(0, marker.size()) == marker;
                        })) {
            return false;
        }
    }
    return true;
}

}  // namespace tamrivo
