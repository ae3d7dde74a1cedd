#pragma once

#include <boost/filesystem/path.hpp>
#include <boost/system/error_code.hpp>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/OwnedHandle.h"

namespace tamrivo {

// One entry of a folder as the walk needs it: its name and what its own status query found.
struct FolderEntry {
    // Narrow, without the folder (ANSI code page on Windows; the bytes elsewhere).
    std::string name;
    // The entry's status query, following links, found a folder (a link to one included).
    bool isFolder = false;
    // A folder itself, not a link to one: the walk may list what is inside.
    bool isRealFolder = false;
    // Set when the status query failed for another reason than a missing path.
    boost::system::error_code statusError;
};

// A folder held open by the walk. Its sub-folders are opened inside it, never by a path that a
// link could redirect; on Windows, where a folder is listed by its path, holding it open keeps it
// from being renamed meanwhile.
struct HeldFolder {
    OwnedHandle handle;
    boost::filesystem::path path;  // kept where folders are listed by path (Windows)
};

// Which folder a held folder is (device and file number), to recognise it when opened again.
struct FolderIdentity {
    std::uint64_t device = 0;
    std::uint64_t number = 0;
    bool operator==(const FolderIdentity& other) const {
        return device == other.device && number == other.number;
    }
};

// How an attempt to open a sub-folder ended.
enum class SubFolderOpening {
    Opened,
    NoFolder,      // a link or a file stands there now: as a link in a listing, not entered
    Failed,        // the error says why (no permission, gone...)
    OutOfHandles,  // the process or the system has no handle left: another attempt may succeed
};

// Opens the root, through a link if it is one (it is the user's own path). Refuses a root that
// can be listed but not searched: none of its entries could be queried or entered.
boost::system::error_code OpenRootFolder(const boost::filesystem::path& root, HeldFolder& folder);

// Opens the sub-folder name of parent inside it, refusing a link.
SubFolderOpening OpenSubFolder(const HeldFolder& parent, const std::string& name,
                               HeldFolder& folder, boost::system::error_code& error);

// Appends the folder's entries ("." and ".." left out) in the order the system lists them, each
// with one status query of its own that follows links; gives the error that ended the listing
// early, if any.
boost::system::error_code ListFolder(const HeldFolder& folder, std::vector<FolderEntry>& entries);

// Which folder it is.
FolderIdentity IdentifyFolder(const HeldFolder& folder);

// True for an error that says the process or the system ran out of handles or memory: it says
// nothing about the entry that met it.
bool IsResourceError(const boost::system::error_code& error);

// How many handles the process may hold at once; the largest number where nothing limits them.
std::size_t HandleLimit();

// How many processors the process may run on (its affinity, as taskset sets it), at least one.
std::size_t ProcessorCount();

}  // namespace tamrivo
