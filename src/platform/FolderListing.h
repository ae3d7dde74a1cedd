#pragma once

#include <boost/filesystem/path.hpp>
#include <boost/system/error_code.hpp>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace tamrivo {

// One entry of a folder as the walk needs it: its name and what its own status query found.
struct FolderEntry {
    std::string
        name;  // narrow, without the folder (ANSI code page on Windows; the bytes elsewhere)
    // The entry's status query, following links, found a folder (a link to one included).
    bool isFolder = false;
    // A folder itself, not a link to one: the walk may list what is inside.
    bool isRealFolder = false;
    // Set when the status query failed for another reason than a missing path.
    boost::system::error_code statusError;
};

// One open folder of a FolderChain.
struct HeldFolder {
    std::intptr_t handle = -1;  // a descriptor, on Windows a HANDLE; -1 while let go
    // Which folder it is (device and file number), to recognise it when it is opened again.
    std::uint64_t device = 0;
    std::uint64_t number = 0;
    boost::filesystem::path path;  // Windows lists a folder by its path, which the handles hold
};

// The folders from the walk's root down to the one that it is in, each held open, so that each is
// opened inside its parent and never through a link, whatever the length of its path. Short of
// descriptors, the outermost held folders are let go and opened again from below (through "..",
// checked to be the same folder) when the walk comes back to them.
struct FolderChain {
    std::vector<HeldFolder> folders;
    // How many folders the chain may hold at once: its share of the process's descriptors where
    // the chains of several threads share them (FoldersHeldPerChain). Beyond it, as when the
    // process runs short of descriptors, the outermost folders are let go.
    std::size_t mostHeld = std::numeric_limits<std::size_t>::max();
    std::size_t letGo = 0;  // the outermost folders, let go

    FolderChain() = default;
    FolderChain(FolderChain&&) noexcept = default;
    FolderChain(const FolderChain&) = delete;
    FolderChain& operator=(const FolderChain&) = delete;
    // Closes every folder still held.
    ~FolderChain();
};

// Opens the root (through a link, if it is one: it is the user's own path) as the chain's first
// folder and appends its entries ("." and ".." left out) in the order the system lists them, each
// with one status query of its own that follows links. Gives the error that kept the root from
// being listed whole: not opened (nothing appended) or reading on failed (the entries before it
// appended).
boost::system::error_code EnterRootFolder(FolderChain& chain, const boost::filesystem::path& root,
                                          std::vector<FolderEntry>& entries);

// Opens the sub-folder name of the chain's innermost folder inside it, refusing a link, and lists
// it as EnterRootFolder does. False when it was not entered: it is no folder any more (a link, a
// file: nothing to report) or it cannot be opened (error set). When entered, error is what ended
// the listing early, if anything.
bool EnterSubFolder(FolderChain& chain, const std::string& name, std::vector<FolderEntry>& entries,
                    boost::system::error_code& error);

// Opens the sub-folder name of the chain's folder at level inside it, refusing a link, as the
// first folder of the empty chain into, without listing it: another thread may walk below it.
// False when it cannot be opened so, also when the folder at level is let go; nothing is reported,
// as the walk of chain meets the sub-folder again.
bool OpenSubFolderInNewChain(const FolderChain& chain, std::size_t level, const std::string& name,
                             FolderChain& into);

// Appends the entries of the chain's innermost folder, each with one status query of its own that
// follows links; gives the error that ended the listing early, if any.
boost::system::error_code ListInnermostFolder(const FolderChain& chain,
                                              std::vector<FolderEntry>& entries);

// The share of the process's descriptors that each of chains chains, held at once by the threads
// of one walk, may use: FolderChain::mostHeld.
std::size_t FoldersHeldPerChain(std::size_t chains);

// How many threads a walk may use: one per processor, at most four; one where the process may
// hold so few descriptors that the chains of several threads would run short of them.
std::size_t WalkThreadCount();

// Closes the innermost folder. Gives an error when its parent, let go for want of descriptors,
// cannot be opened again as the same folder: the walk cannot go back up.
boost::system::error_code LeaveFolder(FolderChain& chain);

}  // namespace tamrivo
