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
