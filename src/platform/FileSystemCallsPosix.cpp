#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileAccess.h"
#include "platform/FileSystemCalls.h"

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
