#include "platform/FolderListing.h"

#ifdef _WIN32

#include <boost/filesystem/directory.hpp>
#include <boost/filesystem/operations.hpp>

#include "platform/FileAccess.h"

namespace tamrivo {
namespace fs = boost::filesystem;

boost::system::error_code ListFolderEntries(const fs::path& folder,
                                            std::vector<FolderEntry>& entries) {
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

}  // namespace tamrivo

#else

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

namespace tamrivo {
namespace {

boost::system::error_code LastError() {
    return boost::system::error_code(errno, boost::system::system_category());
}

bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// True when the entry, already known to lead to a folder, is that folder itself: the listing's
// type says so, and only a file system that does not report types costs a query without links.
bool IsRealFolder(int folder, const dirent& listed) {
    if (listed.d_type == DT_UNKNOWN) {
        struct stat own;
        return fstatat(folder, listed.d_name, &own, AT_SYMLINK_NOFOLLOW) == 0 &&
               S_ISDIR(own.st_mode);
    }
    return listed.d_type == DT_DIR;
}

}  // namespace

boost::system::error_code ListFolderEntries(const boost::filesystem::path& folder,
                                            std::vector<FolderEntry>& entries) {
    DIR* const listing = opendir(folder.c_str());
    if (listing == nullptr) {
        return LastError();
    }
    // Status queries relative to the open folder: the kernel looks up one name, not the path.
    const int descriptor = dirfd(listing);
    boost::system::error_code error;
    while (true) {
        errno = 0;
        const dirent* const listed = readdir(listing);
        if (listed == nullptr) {
            if (errno != 0) {
                error = LastError();
            }
            break;
        }
        if (IsDotOrDotDot(listed->d_name)) {
            continue;
        }
        FolderEntry entry;
        entry.name = listed->d_name;
        struct stat status;
        if (fstatat(descriptor, listed->d_name, &status, 0) == 0) {
            entry.isFolder = S_ISDIR(status.st_mode);
        } else if (errno != ENOENT && errno != ENOTDIR) {
            // A missing path (a link whose target is gone, an entry removed meanwhile) is no
            // folder and no error; any other failure is reported.
            entry.statusError = LastError();
        }
        // A folder whose status cannot be read cannot be listed either.
        entry.isRealFolder = entry.isFolder && IsRealFolder(descriptor, *listed);
        entries.push_back(std::move(entry));
    }
    closedir(listing);
    return error;
}

}  // namespace tamrivo

#endif
