#include "platform/OutputFile.h"

#include <cstdio>
#include <random>

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

// "<output>.tmp-<process id>-<eight random hexadecimal digits>": beside the output, so that the
// rename stays on one file system, and telling which process left it behind.
fs::path DrawName(const fs::path& output, unsigned long processId, std::random_device& random) {
    char suffix[40];
    std::snprintf(suffix, sizeof suffix, ".tmp-%lu-%08x", processId,
                  static_cast<unsigned>(random()));
    fs::path name = output;
    name += suffix;
    return name;
}

// The system's error code of the call that just failed.
boost::system::error_code LastError();
unsigned long ProcessId();
// True when creating failed only because the name is taken.
bool NameTaken(const boost::system::error_code& error);
// Creates the file at file.path exclusively and sets its handle; false when it failed.
bool CreateExclusively(OutputFile& file);
// Renames from over to, replacing whatever entry stands at to.
boost::system::error_code Rename(const fs::path& from, const fs::path& to);
// Closes the file if open and removes it unless it was placed.
void CloseAndRemove(OutputFile& file);

}  // namespace

boost::system::error_code CreateOutputFile(const fs::path& output, OutputFile& file) {
    std::random_device random;
    for (int attempt = 1;; ++attempt) {
        file.path = DrawName(output, ProcessId(), random);
        if (CreateExclusively(file)) {
            return {};
        }
        const boost::system::error_code error = LastError();
        if (!NameTaken(error) || attempt == kNameAttempts) {
            file.path.clear();  // nothing of ours to remove
            return error;
        }
    }
}

boost::system::error_code PlaceOutputFile(OutputFile& file, const fs::path& output) {
    const boost::system::error_code error = Rename(file.path, output);
    file.placed = !error;
    return error;
}

OutputFile::~OutputFile() {
    CloseAndRemove(*this);
}

#ifdef _WIN32

namespace {

HANDLE Handle(const OutputFile& file) {
    return reinterpret_cast<HANDLE>(file.handle);
}

boost::system::error_code LastError() {
    return boost::system::error_code(static_cast<int>(GetLastError()),
                                     boost::system::system_category());
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

boost::system::error_code Rename(const fs::path& from, const fs::path& to) {
    if (!MoveFileExW(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return LastError();
    }
    return {};
}

void CloseAndRemove(OutputFile& file) {
    if (file.handle != -1) {
        CloseHandle(Handle(file));
        file.handle = -1;
    }
    if (!file.placed && !file.path.empty()) {
        DeleteFileW(file.path.c_str());
    }
}

}  // namespace

boost::system::error_code FinishOutputFile(OutputFile& file) {
    boost::system::error_code error;
    if (!FlushFileBuffers(Handle(file))) {
        error = LastError();
    }
    if (!CloseHandle(Handle(file)) && !error) {
        error = LastError();
    }
    file.handle = -1;
    return error;
}

boost::system::error_code WriteOutputFile(OutputFile& file, const char* bytes, std::size_t size) {
    constexpr std::size_t kLargestWrite = 1u << 30;  // WriteFile counts in a DWORD
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(size < kLargestWrite ? size : kLargestWrite);
        DWORD written = 0;
        if (!WriteFile(Handle(file), bytes, chunk, &written, nullptr)) {
            return LastError();
        }
        bytes += written;
        size -= written;
    }
    return {};
}

#else

namespace {

boost::system::error_code LastError() {
    return boost::system::error_code(errno, boost::system::system_category());
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

boost::system::error_code Rename(const fs::path& from, const fs::path& to) {
    if (rename(from.c_str(), to.c_str()) != 0) {
        return LastError();
    }
    return {};
}

void CloseAndRemove(OutputFile& file) {
    if (file.handle != -1) {
        close(static_cast<int>(file.handle));
        file.handle = -1;
    }
    if (!file.placed && !file.path.empty()) {
        unlink(file.path.c_str());
    }
}

}  // namespace

boost::system::error_code FinishOutputFile(OutputFile& file) {
    boost::system::error_code error;
    if (fsync(static_cast<int>(file.handle)) != 0) {
        error = LastError();
    }
    if (close(static_cast<int>(file.handle)) != 0 && !error) {
        error = LastError();
    }
    file.handle = -1;
    return error;
}

boost::system::error_code WriteOutputFile(OutputFile& file, const char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t written = write(static_cast<int>(file.handle), bytes, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return written < 0 ? LastError()
                               : boost::system::error_code(EIO, boost::system::system_category());
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return {};
}

#endif

}  // namespace tamrivo
