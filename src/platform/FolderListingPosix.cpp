#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>

#include "platform/FileAccess.h"
#include "platform/FolderListing.h"

namespace tamrivo {
namespace {

bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// True when the entry, already known to lead to a folder, is that folder itself: the listing's
// type says so, and only a file system that does not report types costs a query without links.
bool IsRealFolder(int folder, const dirent64& listed) {
    if (listed.d_type == DT_UNKNOWN) {
        struct stat own;
        return fstatat(folder, listed.d_name, &own, AT_SYMLINK_NOFOLLOW) == 0 &&
               S_ISDIR(own.st_mode);
    }
    return listed.d_type == DT_DIR;
}

}  // namespace

boost::system::error_code OpenRootFolder(const boost::filesystem::path& root, HeldFolder& folder) {
    folder.handle.Reset(open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.handle.IsOpen()) {
        return LastCallError();
    }
    if (faccessat(folder.handle.Get(), ".", X_OK, AT_EACCESS) != 0) {
        const boost::system::error_code error = LastCallError();
        folder.handle.Reset();
        return error;
    }
    return {};
}

SubFolderOpening OpenSubFolder(const HeldFolder& parent, const std::string& name,
                               HeldFolder& folder, boost::system::error_code& error) {
    folder.handle.Reset(
        openat(parent.handle.Get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (folder.handle.IsOpen()) {
        return SubFolderOpening::Opened;
    }
    if (errno == ENOTDIR || errno == ELOOP) {
        return SubFolderOpening::NoFolder;
    }
    error = LastCallError();
    return errno == EMFILE || errno == ENFILE ? SubFolderOpening::OutOfHandles
                                              : SubFolderOpening::Failed;
}

// The folder's own descriptor is read with getdents64: neither a copy of it nor a directory
// stream, which would cost three more system calls per folder.
boost::system::error_code ListFolder(const HeldFolder& held, std::vector<FolderEntry>& entries) {
    const int folder = held.handle.Get();
    alignas(dirent64) char listing[32 * 1024];
    while (true) {
        const ssize_t size = getdents64(folder, listing, sizeof listing);
        if (size <= 0) {
            return size == 0 ? boost::system::error_code() : LastCallError();
        }
        for (ssize_t pos = 0; pos < size;) {
            const auto* const listed = reinterpret_cast<const dirent64*>(listing + pos);
            pos += listed->d_reclen;
            if (IsDotOrDotDot(listed->d_name)) {
                continue;
            }
            FolderEntry entry;
            entry.name = listed->d_name;
            // Status queries relative to the open folder: the kernel looks up one name, not a
            // path.
            struct stat status;
            if (fstatat(folder, listed->d_name, &status, 0) == 0) {
                entry.isFolder = S_ISDIR(status.st_mode);
            } else if (errno != ENOENT && errno != ENOTDIR) {
                // A missing path (a link whose target is gone, an entry removed meanwhile) is no
                // folder and no error; any other failure is reported.
                entry.statusError = LastCallError();
                if (IsResourceError(entry.statusError)) {
                    return entry.statusError;
                }
            }
            // A folder whose status cannot be read cannot be listed either.
            entry.isRealFolder = entry.isFolder && IsRealFolder(folder, *listed);
            entries.push_back(std::move(entry));
        }
    }
}

FolderIdentity IdentifyFolder(const HeldFolder& folder) {
    struct stat status {};
    fstat(folder.handle.Get(), &status);
    return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

bool IsResourceError(const boost::system::error_code& error) {
    return error.category() == boost::system::system_category() &&
           (error.value() == EMFILE || error.value() == ENFILE || error.value() == ENOMEM);
}

std::size_t HandleLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY ||
        limit.rlim_cur > std::numeric_limits<std::size_t>::max()) {
        return std::numeric_limits<std::size_t>::max();
    }
    return static_cast<std::size_t>(limit.rlim_cur);
}

std::size_t ProcessorCount() {
    cpu_set_t processors;
    CPU_ZERO(&processors);
    if (sched_getaffinity(0, sizeof processors, &processors) != 0) {
        return 1;
    }
    return static_cast<std::size_t>(std::max(1, CPU_COUNT(&processors)));
}

}  // namespace tamrivo
