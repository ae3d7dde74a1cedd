#include "TestSupport.h"

#include <algorithm>
#include <boost/filesystem.hpp>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
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
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

bool FileExists(const std::string& path) {
    boost::system::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

void CopyTree(const std::string& from, const std::string& to) {
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
}

std::map<std::string, std::string> SnapshotTree(const std::string& path) {
    std::map<std::string, std::string> snapshot;
    for (fs::recursive_directory_iterator it(path), end; it != end; ++it) {
        const std::string relative = it->path().lexically_relative(path).generic_string();
        const fs::file_status status = it->symlink_status();
        if (fs::is_symlink(status)) {
            snapshot[relative] = "-> " + fs::read_symlink(it->path()).string();
        } else if (fs::is_regular_file(status)) {
            snapshot[relative] = ReadFile(it->path().string());
        } else {
            snapshot[relative] = "";
        }
    }
    return snapshot;
}

std::string CrLfLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

std::string MaskFilterIdentifiers(const std::string& text, std::vector<std::string>& identifiers) {
    static const std::regex identifier("<UniqueIdentifier>\\{([0-9a-f]{40})\\}</UniqueIdentifier>");
    std::string masked;
    auto rest = text.cbegin();
    for (std::sregex_iterator it(text.begin(), text.end(), identifier), end; it != end; ++it) {
        identifiers.push_back((*it)[1].str());
        masked.append(rest, (*it)[1].first);
        masked.append(40, 'x');
        rest = (*it)[1].second;
    }
    masked.append(rest, text.cend());
    return masked;
}

std::string NativeSeparators(std::string windowsForm) {
    std::replace(windowsForm.begin(), windowsForm.end(), '\\',
                 static_cast<char>(fs::path::preferred_separator));
    return windowsForm;
}

ScopedEnvironment::ScopedEnvironment(const std::string& name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name.c_str())) {
        saved_ = old;
    }
    Set(name, value);
}

ScopedEnvironment::~ScopedEnvironment() {
    Set(name_, saved_ ? saved_->c_str() : nullptr);
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

std::string MaskReportTimestamp(const std::string& text) {
    static const std::regex timestamp(
        "(Tamrivo\\.exe report TamrivoReport\\.txt: )[0-9]{4}-[0-9]{2}-[0-9]{2} "
        "[0-9]{2}:[0-9]{2}:[0-9]{2}(\r?\n)");
    return std::regex_replace(text, timestamp, "$1<timestamp>$2");
}

std::string MaskBuildDate(const std::string& text) {
    static const std::regex buildDate(
        "( version [0-9]+\\.[0-9]+ from )(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
        "[ 123][0-9] [0-9]{4}(\r?\n)");
    return std::regex_replace(text, buildDate, "$1<build date>$3");
}

std::string MaskedBanner() {
    return "Tamrivo.exe version 1.0 from <build date>\n" TAMRIVO_LEGAL_COPYRIGHT "\n";
}

std::string TamrivoExecutable() {
    return TAMRIVO_EXECUTABLE;
}

std::string ProjectSourceDir() {
    return TAMRIVO_SOURCE_DIR;
}

}  // namespace tamrivo::testing
