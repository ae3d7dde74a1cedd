#include "platform/FolderListing.h"

#include <algorithm>
#include <thread>

namespace tamrivo {
namespace {

// The processors, at most four: a walk gains little from more threads on one file system.
std::size_t ProcessorsForAWalk() {
    return std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 4);
}

}  // namespace
}  // namespace tamrivo

#ifdef _WIN32

#include <windows.h>

#include <boost/filesystem/directory.hpp>
#include <boost/filesystem/operations.hpp>

#include "platform/FileAccess.h"

namespace tamrivo {
namespace fs = boost::filesystem;
namespace {

HANDLE Handle(const HeldFolder& folder) {
    return reinterpret_cast<HANDLE>(folder.handle);
}

// Opens a folder for as long as the walk is in it. Without FILE_SHARE_DELETE nobody can rename or
// remove it meanwhile, so its path keeps naming it; with openReparsePoint a link or junction is
// opened itself rather than followed.
HANDLE OpenFolder(const fs::path& path, bool openReparsePoint) {
    return CreateFileW(
        path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
        OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | (openReparsePoint ? FILE_FLAG_OPEN_REPARSE_POINT : 0),
        nullptr);
}

void Hold(FolderChain& chain, HANDLE handle, const fs::path& path) {
    HeldFolder folder;
    folder.handle = reinterpret_cast<std::intptr_t>(handle);
    folder.path = path;
    chain.folders.push_back(std::move(folder));
}

// Appends the entries of the folder at path, each with its own status query.
boost::system::error_code ListFolder(const fs::path& folder, std::vector<FolderEntry>& entries) {
    boost::system::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        FolderEntry listed;
        listed.name = NarrowString(entry->path().filename());
        // The listing's own attributes tell a link from a folder; no extra query is made.
        boost::system::error_code typeError;
        listed.isRealFolder = fs::is_directory(entry->symlink_status(typeError));
        boost::system::error_code statusError;
        const fs::file_status status = fs::status(entry->path(), statusError);
        if (status.type() == fs::status_error) {
            listed.statusError = statusError;
        }
        listed.isFolder = fs::is_directory(status);
        entries.push_back(std::move(listed));
    }
    return error;
}

}  // namespace

FolderChain::~FolderChain() {
    for (const HeldFolder& folder : folders) {
        CloseHandle(Handle(folder));
    }
}

boost::system::error_code EnterRootFolder(FolderChain& chain, const fs::path& root,
                                          std::vector<FolderEntry>& entries) {
    const HANDLE handle = OpenFolder(root, false);
    if (handle == INVALID_HANDLE_VALUE) {
        return LastCallError();
    }
    Hold(chain, handle, root);
    return ListFolder(root, entries);
}

namespace {

// Opens the sub-folder at path, refusing a link, and holds it as the chain's innermost folder.
// False when it was not: it is no folder any more (a link, a file: error unset) or it cannot be
// opened (error set).
bool HoldSubFolder(FolderChain& chain, const fs::path& path, boost::system::error_code& error) {
    const HANDLE handle = OpenFolder(path, true);
    if (handle == INVALID_HANDLE_VALUE) {
        error = LastCallError();
        return false;
    }
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(handle, &information)) {
        error = LastCallError();
        CloseHandle(handle);
        return false;
    }
    // A link or junction now, or no folder at all: as a link met in the listing, not entered.
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        CloseHandle(handle);
        return false;
    }
    Hold(chain, handle, path);
    return true;
}

}  // namespace

bool EnterSubFolder(FolderChain& chain, const std::string& name, std::vector<FolderEntry>& entries,
                    boost::system::error_code& error) {
    if (!HoldSubFolder(chain, chain.folders.back().path / name, error)) {
        return false;
    }
    error = ListInnermostFolder(chain, entries);
    return true;
}

bool OpenSubFolderInNewChain(const FolderChain& chain, std::size_t level, const std::string& name,
                             FolderChain& into) {
    boost::system::error_code error;
    return HoldSubFolder(into, chain.folders[level].path / name, error);
}

boost::system::error_code ListInnermostFolder(const FolderChain& chain,
                                              std::vector<FolderEntry>& entries) {
    return ListFolder(chain.folders.back().path, entries);
}

std::size_t FoldersHeldPerChain(std::size_t) {
    // Handles are not counted against a limit of the process: folders are never let go.
    return std::numeric_limits<std::size_t>::max();
}

std::size_t WalkThreadCount() {
    return ProcessorsForAWalk();
}

boost::system::error_code LeaveFolder(FolderChain& chain) {
    CloseHandle(Handle(chain.folders.back()));
    chain.folders.pop_back();
    return {};
}

}  // namespace tamrivo

#else

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileAccess.h"

namespace tamrivo {
namespace {

int Descriptor(const HeldFolder& folder) {
    return static_cast<int>(folder.handle);
}

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

// Closes the outermost folder still held but the innermost, noting which folder it is so that it
// can be recognised when opened again; false when there is none.
bool LetGoOfAnOuterFolder(FolderChain& chain) {
    if (chain.letGo + 1 >= chain.folders.size()) {
        return false;
    }
    HeldFolder& folder = chain.folders[chain.letGo++];
    struct stat status {};
    fstat(Descriptor(folder), &status);
    folder.device = status.st_dev;
    folder.number = status.st_ino;
    close(Descriptor(folder));
    folder.handle = -1;
    return true;
}

// Calls open until it gives a descriptor or fails for another reason than the process's or the
// system's limit on descriptors, letting go of outer folders of the chain to make room; first
// of those beyond the chain's share.
template <typename Open>
int OpenMakingRoom(FolderChain& chain, const Open& open) {
    while (chain.folders.size() - chain.letGo >= chain.mostHeld && LetGoOfAnOuterFolder(chain)) {
    }
    while (true) {
        const int descriptor = open();
        if (descriptor != -1 || (errno != EMFILE && errno != ENFILE) ||
            !LetGoOfAnOuterFolder(chain)) {
            return descriptor;
        }
    }
}

void Hold(FolderChain& chain, int descriptor) {
    HeldFolder folder;
    folder.handle = descriptor;
    chain.folders.push_back(std::move(folder));
}

}  // namespace

// The folder's own descriptor is read with getdents64: neither a copy of it nor a directory
// stream, which would cost three more system calls per folder.
boost::system::error_code ListInnermostFolder(const FolderChain& chain,
                                              std::vector<FolderEntry>& entries) {
    const int folder = Descriptor(chain.folders.back());
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
            }
            // A folder whose status cannot be read cannot be listed either.
            entry.isRealFolder = entry.isFolder && IsRealFolder(folder, *listed);
            entries.push_back(std::move(entry));
        }
    }
}

FolderChain::~FolderChain() {
    for (const HeldFolder& folder : folders) {
        if (folder.handle != -1) {
            close(Descriptor(folder));
        }
    }
}

boost::system::error_code EnterRootFolder(FolderChain& chain, const boost::filesystem::path& root,
                                          std::vector<FolderEntry>& entries) {
    const int descriptor = open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor == -1) {
        return LastCallError();
    }
    Hold(chain, descriptor);
    return ListInnermostFolder(chain, entries);
}

bool EnterSubFolder(FolderChain& chain, const std::string& name, std::vector<FolderEntry>& entries,
                    boost::system::error_code& error) {
    const int parent = Descriptor(chain.folders.back());
    const int descriptor = OpenMakingRoom(chain, [parent, &name] {
        return openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    });
    if (descriptor == -1) {
        // A link (refused by O_NOFOLLOW) or a file stands there now: as a link met in the
        // listing, it is not entered.
        if (errno != ENOTDIR && errno != ELOOP) {
            error = LastCallError();
        }
        return false;
    }
    Hold(chain, descriptor);
    error = ListInnermostFolder(chain, entries);
    return true;
}

bool OpenSubFolderInNewChain(const FolderChain& chain, std::size_t level, const std::string& name,
                             FolderChain& into) {
    const HeldFolder& folder = chain.folders[level];
    if (folder.handle == -1) {
        return false;
    }
    const int descriptor =
        openat(Descriptor(folder), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor == -1) {
        return false;
    }
    Hold(into, descriptor);
    return true;
}

std::size_t FoldersHeldPerChain(std::size_t chains) {
    // Descriptors kept free for the rest of the process and the folders handed between threads.
    constexpr rlim_t kKeptFree = 64;
    rlimit limit{};
    if (chains <= 1 || getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return std::numeric_limits<std::size_t>::max();
    }
    const rlim_t shared = limit.rlim_cur > kKeptFree ? limit.rlim_cur - kKeptFree : 0;
    // Two: the innermost folder and the one being opened inside it.
    return std::max<std::size_t>(2, static_cast<std::size_t>(shared / chains));
}

std::size_t WalkThreadCount() {
    // The threads' chains share the descriptors (FoldersHeldPerChain); with fewer than a few
    // hundred, each share would be so small that the chains keep letting go of folders and
    // opening them again.
    constexpr rlim_t kDescriptorsForThreads = 256;
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur < kDescriptorsForThreads) {
        return 1;
    }
    return ProcessorsForAWalk();
}

boost::system::error_code LeaveFolder(FolderChain& chain) {
    const int child = Descriptor(chain.folders.back());
    chain.folders.pop_back();
    boost::system::error_code error;
    if (!chain.folders.empty() && chain.folders.back().handle == -1) {
        HeldFolder& parent = chain.folders.back();
        const int descriptor = openat(child, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        struct stat status {};
        if (descriptor == -1) {
            error = LastCallError();
        } else if (fstat(descriptor, &status) != 0 || status.st_dev != parent.device ||
                   status.st_ino != parent.number) {
            // The folder was moved while the walk was below it: ".." is some other folder.
            error = boost::system::error_code(ESTALE, boost::system::system_category());
            close(descriptor);
        } else {
            parent.handle = descriptor;
            --chain.letGo;
        }
    }
    close(child);
    return error;
}

}  // namespace tamrivo

#endif
