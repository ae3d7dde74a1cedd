#include "platform/OutputFile.h"

#include <algorithm>
#include <boost/filesystem/operations.hpp>
#include <cstdio>
#include <random>

#include "platform/FileAccess.h"
#include "platform/FileSystemCalls.h"
#include "platform/TextFile.h"

namespace tamrivo {
namespace fs = boost::filesystem;
namespace {

// How many names are drawn when the drawn one is taken before creating gives up.
constexpr int kNameAttempts = 16;

// The longest name of a folder entry that Linux and Windows' file systems take: bytes on the
// one, UTF-16 code units on the other.
constexpr std::size_t kLongestName = 255;

// "<output>.tmp-<process id>-<eight random hexadecimal digits>": beside the output, so that the
// rename stays on one file system, and telling which process left it behind. An output's name
// too long for that much more is cut short, so that the new file fits wherever the output does.
fs::path DrawName(const fs::path& output, std::random_device& random) {
    char suffix[40];
    std::snprintf(suffix, sizeof suffix, ".tmp-%lu-%08x", ProcessId(),
                  static_cast<unsigned>(random()));
    const fs::path::string_type suffixText = fs::path(suffix).native();
    fs::path::string_type name = output.filename().native();
    name.resize(std::min(name.size(), kLongestName - suffixText.size()));
    return output.parent_path() / (name + suffixText);
}

// The folder that holds path: its parent, or the current folder.
fs::path HoldingFolder(const fs::path& path) {
    return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

}  // namespace

bool NameTheSameEntry(const fs::path& first, const fs::path& second) {
    if (!SameEntryName(first.filename(), second.filename())) {
        return false;
    }
    boost::system::error_code error;
    return HoldingFolder(first) == HoldingFolder(second) ||
           fs::equivalent(HoldingFolder(first), HoldingFolder(second), error);
}

boost::system::error_code CreateOutputFile(const fs::path& output, OutputFile& file) {
    std::random_device random;
    for (int attempt = 1;; ++attempt) {
        file.path = DrawName(output, random);
        file.handle = CreateNewFile(file.path);
        if (file.handle.IsOpen()) {
            return {};
        }
        const boost::system::error_code error = LastCallError();
        if (!NameTaken(error) || attempt == kNameAttempts) {
            file.path.clear();  // nothing of ours to remove
            return error;
        }
    }
}

boost::system::error_code FinishOutputFile(OutputFile& file) {
    boost::system::error_code error;
    if (!FlushToDisk(file.handle.Get())) {
        error = LastCallError();
    }
    if (!file.handle.Reset() && !error) {
        error = LastCallError();
    }
    return error;
}

boost::system::error_code PlaceOutputFile(OutputFile& file, const fs::path& output) {
    if (!RenameReplacing(file.path, output)) {
        return LastCallError();
    }
    file.placed = true;
    return {};
}

OutputFile::~OutputFile() {
    handle.Reset();
    if (!placed && !path.empty()) {
        RemoveFile(path);
    }
}

OutputFileBuffer::OutputFileBuffer(OutputFile& file) : file_(file), bytes_(TextBufferBytes) {
    setp(bytes_.data(), bytes_.data() + bytes_.size());
}

boost::system::error_code OutputFileBuffer::Drain() {
    if (!error_) {
        error_ = WriteAll(file_.handle.Get(), pbase(), static_cast<std::size_t>(pptr() - pbase()));
    }
    setp(bytes_.data(), bytes_.data() + bytes_.size());
    return error_;
}

OutputFileBuffer::int_type OutputFileBuffer::overflow(int_type byte) {
    Drain();
    if (!traits_type::eq_int_type(byte, traits_type::eof())) {
        sputc(traits_type::to_char_type(byte));
    }
    return error_ ? traits_type::eof() : traits_type::not_eof(byte);
}

int OutputFileBuffer::sync() {
    return Drain() ? -1 : 0;
}

}  // namespace tamrivo
