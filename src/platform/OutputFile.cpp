#include "platform/OutputFile.h"

#include <cstdio>
#include <random>

#include "platform/FileAccess.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace tamrivo {
namespace fs = boost::filesystem;
namespace {

// How many names are drawn when the drawn one is taken before creating gives up.
constexpr int kNameAttempts = 16;

unsigned long ProcessId();
// True when creating failed only because the name is taken.
bool NameTaken(const boost::system::error_code& error);
// Creates the file at file.path exclusively and sets its handle; false when it failed.
bool CreateExclusively(OutputFile& file);
// Each of these gives false when the system call failed (its error in LastCallError).
bool FlushToDisk(const OutputFile& file);
bool Close(const OutputFile& file);
bool Rename(const fs::path& from, const fs::path& to);
bool Remove(const fs::path& path);

// "<output>.tmp-<process id>-<eight random hexadecimal digits>": beside the output, so that the
// rename stays on one file system, and telling which process left it behind.
fs::path DrawName(const fs::path& output, std::random_device& random) {
    char suffix[40];
    std::snprintf(suffix, sizeof suffix, ".tmp-%lu-%08x", ProcessId(),
                  static_cast<unsigned>(random()));
    fs::path name = output;
    name += suffix;
    return name;
}

}  // namespace

boost::system::error_code CreateOutputFile(const fs::path& output, OutputFile& file) {
    std::random_device random;
    for (int attempt = 1;; ++attempt) {
        file.path = DrawName(output, random);
        if (CreateExclusively(file)) {
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
    if (!FlushToDisk(file)) {
        error = LastCallError();
    }
    if (!Close(file) && !error) {
        error = LastCallError();
    }
    file.handle = -1;
    return error;
}

boost::system::error_code PlaceOutputFile(OutputFile& file, const fs::path& output) {
    if (!Rename(file.path, output)) {
        return LastCallError();
    }
    file.placed = true;
    return {};
}

OutputFile::~OutputFile() {
    if (handle != -1) {
        Close(*this);
    }
    if (!placed && !path.empty()) {
        Remove(path);
    }
}

#ifdef _WIN32

namespace {

HANDLE Handle(const OutputFile& file) {
    return reinterpret_cast<HANDLE>(file.handle);
}

unsigned long ProcessId() {
    return GetCurrentProcessId();
}

bool NameTaken(const boost::system::error_code& error) {
    return error.value() == ERROR_FILE_EXISTS || error.value() == ERROR_ALREADY_EXISTS;
}

bool CreateExclusively(OutputFile& file) {
    const HANDLE handle = CreateFileW(file.path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    file.handle = reinterpret_cast<std::intptr_t>(handle);
    return handle != INVALID_HANDLE_VALUE;
}

bool FlushToDisk(const OutputFile& file) {
    return FlushFileBuffers(Handle(file));
}

bool Close(const OutputFile& file) {
    return CloseHandle(Handle(file));
}

bool Rename(const fs::path& from, const fs::path& to) {
    return MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool Remove(const fs::path& path) {
    return DeleteFileW(path.c_str());
}

}  // namespace

boost::system::error_code WriteOutputFile(OutputFile& file, const char* bytes, std::size_t size) {
    constexpr std::size_t kLargestWrite = 1u << 30;  // WriteFile counts in a DWORD
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(size < kLargestWrite ? size : kLargestWrite);
        DWORD written = 0;
        if (!WriteFile(Handle(file), bytes, chunk, &written, nullptr)) {
            return LastCallError();
        }
        bytes += written;
        size -= written;
    }
    return {};
}

#else

namespace {

int Descriptor(const OutputFile& file) {
    return static_cast<int>(file.handle);
}

unsigned long ProcessId() {
    return static_cast<unsigned long>(getpid());
}

bool NameTaken(const boost::system::error_code& error) {
    return error.value() == EEXIST;
}

bool CreateExclusively(OutputFile& file) {
    // 0666 less the umask, as any newly created file; O_EXCL fails on every existing name,
    // links included.
    file.handle =
        open(file.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    return file.handle != -1;
}

bool FlushToDisk(const OutputFile& file) {
    return fsync(Descriptor(file)) == 0;
}

bool Close(const OutputFile& file) {
    return close(Descriptor(file)) == 0;
}

bool Rename(const fs::path& from, const fs::path& to) {
    return rename(from.c_str(), to.c_str()) == 0;
}

bool Remove(const fs::path& path) {
    return unlink(path.c_str()) == 0;
}

}  // namespace

boost::system::error_code WriteOutputFile(OutputFile& file, const char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t written = write(Descriptor(file), bytes, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return written < 0 ? LastCallError()
                               : boost::system::error_code(EIO, boost::system::system_category());
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return {};
}

#endif

}  // namespace tamrivo
