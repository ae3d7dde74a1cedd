#include "TestSupport.h"

#include <boost/filesystem.hpp>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tamrivo::testing {
namespace fs = boost::filesystem;

TempDir::TempDir() {
    const fs::path base =
        fs::temp_directory_path() / fs::unique_path("tamrivo-test-%%%%-%%%%-%%%%");
    fs::create_directories(base);
    path_ = fs::canonical(base).string();
}

TempDir::~TempDir() {
    boost::system::error_code error;
    for (fs::recursive_directory_iterator it(path_, error), end; it != end; it.increment(error)) {
        if (it->symlink_status(error).type() == fs::directory_file) {
            fs::permissions(it->path(), fs::all_all, error);
        }
    }
    fs::remove_all(path_, error);
}

void WriteFile(const std::string& path, const std::string& bytes) {
    const fs::path parent = fs::path(path).parent_path();
    if (!parent.empty()) {
        fs::create_directories(parent);
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
    if (!file.flush()) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path) {
    boost::system::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

std::string CrLfLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

std::string ConsoleText(const std::string& text) {
#ifdef _WIN32
    std::string console;
    for (const char c : text) {
        if (c == '\n') {
            console += '\r';
        }
        console += c;
    }
    return console;
#else
    return text;
#endif
}

std::string TamrivoExecutable() {
    return TAMRIVO_EXECUTABLE;
}

std::string ProjectSourceDir() {
    return TAMRIVO_SOURCE_DIR;
}

}  // namespace tamrivo::testing
