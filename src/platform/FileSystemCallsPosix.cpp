#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileAccess.h"
#include "platform/FileSystemCalls.h"
#include "platform/OutputFile.h"

namespace tamrivo {

unsigned long ProcessId() {
    return static_cast<unsigned long>(getpid());
}

bool NameTaken(const boost::system::error_code& error) {
    return error.value() == EEXIST;
}

OwnedHandle CreateNewFile(const boost::filesystem::path& path) {
    // 0666 less the umask, as any newly created file; O_EXCL fails on every existing name,
    // links included.
    return OwnedHandle(
        open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
}

OwnedHandle OpenForReading(const boost::filesystem::path& path, FileKind& kind) {
    // O_NONBLOCK: opening a FIFO would wait for a writer, a serial line for its carrier. The
    // status of what was opened, not of the path, tells the kind.
    OwnedHandle file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    kind = FileKind::Regular;
    struct stat status {};
    if (!file.IsOpen() || fstat(file.Get(), &status) != 0) {
        return OwnedHandle();
    }
    kind = S_ISREG(status.st_mode)   ? FileKind::Regular
           : S_ISDIR(status.st_mode) ? FileKind::Folder
                                     : FileKind::Special;
    if (kind != FileKind::Regular) {
        return OwnedHandle();
    }
    return file;
}

long long ReadSome(NativeHandle file, char* bytes, std::size_t size) {
    for (;;) {
        const ssize_t got = read(file, bytes, size);
        if (got >= 0 || errno != EINTR) {
            return got;
        }
    }
}

bool SameEntryName(const boost::filesystem::path& first, const boost::filesystem::path& second) {
    return first == second;
}

bool IsReadOnlyFile(const boost::filesystem::path& path) {
    struct stat status {};
    return lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           (status.st_mode & S_IWUSR) == 0;
}

boost::system::error_code WriteAll(NativeHandle file, const char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t written = write(file, bytes, size);
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

bool FlushToDisk(NativeHandle file) {
    return fsync(file) == 0;
}

bool RenameReplacing(const boost::filesystem::path& from, const boost::filesystem::path& to) {
    return rename(from.c_str(), to.c_str()) == 0;
}

bool RemoveFile(const boost::filesystem::path& path) {
    return unlink(path.c_str()) == 0;
}

}  // namespace tamrivo
