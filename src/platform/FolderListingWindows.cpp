#include <windows.h>

#include <boost/filesystem/directory.hpp>
#include <boost/filesystem/operations.hpp>
#include <limits>

#include "platform/FileAccess.h"
#include "platform/FolderListing.h"

namespace tamrivo {
namespace fs = boost::filesystem;
namespace {

// Opens a folder for as long as the walk holds it. Without FILE_SHARE_DELETE nobody can rename or
// remove it meanwhile, so its path keeps naming it; with openReparsePoint a link or junction is
// opened itself rather than followed.
HANDLE OpenFolderHandle(const fs::path& path, bool openReparsePoint) {
    return CreateFileW(
        path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
        OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | (openReparsePoint ? FILE_FLAG_OPEN_REPARSE_POINT : 0),
        nullptr);
}

}  // namespace

boost::system::error_code OpenRootFolder(const fs::path& root, HeldFolder& folder) {
    folder.handle.Reset(OpenFolderHandle(root, false));
    BY_HANDLE_FILE_INFORMATION information;
    if (!folder.handle.IsOpen() || !GetFileInformationByHandle(folder.handle.Get(), &information)) {
        const boost::system::error_code error = LastCallError();
        folder.handle.Reset();
        return error;
    }
    // Backup semantics open files as well as folders.
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        folder.handle.Reset();
        return boost::system::error_code(ERROR_DIRECTORY, boost::system::system_category());
    }
    folder.path = root;
    return {};
}

SubFolderOpening OpenSubFolder(const HeldFolder& parent, const std::string& name,
                               HeldFolder& folder, boost::system::error_code& error) {
    const fs::path path = parent.path / name;
    OwnedHandle handle(OpenFolderHandle(path, true));
    BY_HANDLE_FILE_INFORMATION information;
    if (!handle.IsOpen() || !GetFileInformationByHandle(handle.Get(), &information)) {
        error = LastCallError();
        return IsResourceError(error) ? SubFolderOpening::OutOfHandles : SubFolderOpening::Failed;
    }
    // A link or junction now, or no folder at all: as a link met in the listing, not entered.
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return SubFolderOpening::NoFolder;
    }
    folder.handle = std::move(handle);
    folder.path = path;
    return SubFolderOpening::Opened;
}

boost::system::error_code ListFolder(const HeldFolder& folder, std::vector<FolderEntry>& entries) {
    boost::system::error_code error;
    for (fs::directory_iterator entry(folder.path, error), end; !error && entry != end;
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
        listed.isRealFolder = listed.isRealFolder && listed.isFolder;
        entries.push_back(std::move(listed));
    }
    return error;
}

FolderIdentity IdentifyFolder(const HeldFolder& folder) {
    BY_HANDLE_FILE_INFORMATION information{};
    GetFileInformationByHandle(folder.handle.Get(), &information);
    return {information.dwVolumeSerialNumber,
            (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow};
}

bool IsResourceError(const boost::system::error_code& error) {
    return error.category() == boost::system::system_category() &&
           (error.value() == ERROR_TOO_MANY_OPEN_FILES ||
            error.value() == ERROR_NOT_ENOUGH_MEMORY || error.value() == ERROR_OUTOFMEMORY ||
            error.value() == ERROR_NO_SYSTEM_RESOURCES);
}

std::size_t HandleLimit() {
    // Handles are not counted against a limit of the process.
    return std::numeric_limits<std::size_t>::max();
}

std::size_t ProcessorCount() {
    DWORD_PTR process = 0;
    DWORD_PTR system = 0;
    if (!GetProcessAffinityMask(GetCurrentProcess(), &process, &system) || process == 0) {
        return 1;
    }
    std::size_t count = 0;
    for (; process != 0; process &= process - 1) {
        ++count;
    }
    return count;
}

}  // namespace tamrivo
