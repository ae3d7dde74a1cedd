#include "platform/FileAccess.h"

#include <algorithm>
#include <ios>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#endif

namespace tamrivo {

boost::filesystem::path NativePath(const std::string& text) {
    return boost::filesystem::path(text);
}

boost::filesystem::path NativePathFromWindowsForm(const std::string& text) {
#ifdef _WIN32
    return boost::filesystem::path(text);
#else
    std::string posix = text;
    std::replace(posix.begin(), posix.end(), '\\', '/');
    return boost::filesystem::path(posix);
#endif
}

std::string WithoutExtraSeparators(const std::string& path) {
#ifdef _WIN32
    const auto isSeparator = [](char c) { return c == '/' || c == '\\'; };
    // A network name's or a prefix's two leading separators, a prefix's "?" or "." and its
    // separator, a drive: kept as they are.
    std::size_t kept = 0;
    if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) {
        const bool prefix =
            path.size() >= 4 && (path[2] == '?' || path[2] == '.') && isSeparator(path[3]);
        kept = prefix ? 4 : 2;
    }
    if (path.size() >= kept + 2 && path[kept + 1] == ':') {
        kept += 2;
    }
#else
    const auto isSeparator = [](char c) { return c == '/'; };
    const std::size_t kept = 0;
#endif
    std::string result = path.substr(0, kept);
    for (std::size_t index = kept; index < path.size(); ++index) {
        if (!isSeparator(path[index]) || result.size() == kept || !isSeparator(result.back())) {
            result.push_back(path[index]);
        }
    }
    // The root's own separator, directly after what is kept, stays.
    const std::size_t root = kept + (result.size() > kept && isSeparator(result[kept]) ? 1 : 0);
    while (result.size() > root && isSeparator(result.back())) {
        result.pop_back();
    }
    return result;
}

std::string NarrowString(const boost::filesystem::path& path) {
    return path.string();
}

void OpenOutputFile(boost::filesystem::ofstream& stream, const boost::filesystem::path& path) {
    stream.open(path, std::ios::out | std::ios::trunc | std::ios::binary);
}

boost::system::error_code LastCallError() {
#ifdef _WIN32
    return boost::system::error_code(static_cast<int>(GetLastError()),
                                     boost::system::system_category());
#else
    return boost::system::error_code(errno, boost::system::system_category());
#endif
}

}  // namespace tamrivo
