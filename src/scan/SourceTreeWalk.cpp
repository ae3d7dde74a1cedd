#include "scan/SourceTreeWalk.h"

#include <algorithm>
#include <boost/system/system_error.hpp>
#include <deque>
#include <optional>
#include <ostream>
#include <vector>

#include "scan/Classification.h"
#include "scan/EntryNames.h"
#include "scan/NtfsOrder.h"
#include "scan/PathRules.h"
#include "scan/ReadAhead.h"

namespace tamrivo {
namespace {

// What the walk does with an entry of a folder, decided once when the folder is listed.
enum class EntryFate : unsigned char {
    Walked,   // listed, classified and, if a folder, entered
    Unfit,    // its name cannot stand in the new files: reported
    LeftOut,  // the caller leaves it out: nothing at all
};

// True for an entry that the walk enters as a folder: a real folder (not a link) whose status
// was read and that is walked.
bool IsEnteredAsFolder(const FolderEntry& entry, EntryFate fate) {
    return fate == EntryFate::Walked && entry.isRealFolder && !entry.statusError;
}

// Sets path to the Windows path of an entry of folder: the folder, a backslash, the name. Only the
// root may end in a separator of its own (C:\, C:, /); a folder below it whose name ends in a colon
// still gets its backslash.
void JoinWindowsPath(const std::string& folder, bool isRoot, const std::string& name,
                     std::string& path) {
    const bool endsInSeparator =
        isRoot && !folder.empty() &&
        (folder.back() == '\\' || folder.back() == '/' || folder.back() == ':');
    path.assign(folder);
    if (!endsInSeparator) {
        path += '\\';
    }
    path += name;
}

// One folder on the walk's way down: its entries and how far they are walked.
struct WalkedFolder {
    std::string windowsPath;
    std::string name;  // as its parent lists it, to find it again
    HeldFolder folder;
    FolderIdentity identity;  // noted when it is let go, to recognise it when opened again
    std::vector<FolderEntry> entries;
    std::vector<EntryFate> fates;
    std::size_t next = 0;
    std::vector<SubFolder> subFolders;  // the entries entered, in their order
    std::size_t nextSubFolder = 0;
};

// The lost folder of a way back that failed: its level and why.
struct LostFolder {
    std::size_t level;
    boost::system::error_code error;
};

// One walk: a single thread walks the folders in order, helpers only list ahead of it.
struct TreeWalk {
    FolderSource& source;
    const std::string& root;
    const WalkLimits& limits;
    const LeftOutOfWalk& leftOut;
    SourceInventory& inventory;
    FolderList& folders;
    std::ostream& errorOutput;
    // The folders from the root down to the one walked. The outermost letGo of them are let go
    // (closed) to keep within the handles; the others are held open.
    std::deque<WalkedFolder> stack;
    std::size_t letGo = 0;
    std::string entryPath;       // room for the entry walked
    std::size_t rootPrefix = 0;  // the root and the separator after it, in every entry's path
    // Last, so that its helpers stop before the folders whose sub-folders they list go away.
    ReadAhead readAhead{source, limits.mostListedAhead, limits.helpers};

    void Report(const std::string& path, std::string_view message) {
        errorOutput << "Error While Accessing : " << path << " :: " << message << '\n'
                    << std::flush;
    }

    EntryFate FateOf(const FolderEntry& entry) {
        if (!WhyNameIsLeftOut(entry.name).empty()) {
            return EntryFate::Unfit;
        }
        if (leftOut) {
            JoinEntryPath(stack.size() - 1, entry.name);
            if (leftOut(std::string_view(entryPath).substr(rootPrefix), entry.isFolder)) {
                return EntryFate::LeftOut;
            }
        }
        return EntryFate::Walked;
    }

    // Sets entryPath to the path of an entry of the folder at level.
    void JoinEntryPath(std::size_t level, const std::string& name) {
        JoinWindowsPath(stack[level].windowsPath, level == 0, name, entryPath);
    }

    // Makes a listed folder the innermost and offers its sub-folders to the helpers.
    void PushFolder(std::string&& windowsPath, const std::string& name, HeldFolder&& held,
                    std::vector<FolderEntry>&& entries) {
        while (stack.size() - letGo >= limits.mostHeld && LetGoOfOutermostFolder()) {
        }
        WalkedFolder& folder = stack.emplace_back();
        folder.windowsPath = std::move(windowsPath);
        folder.name = name;
        folder.folder = std::move(held);
        folder.entries = std::move(entries);
        folder.fates.reserve(folder.entries.size());
        for (std::size_t index = 0; index < folder.entries.size(); ++index) {
            const FolderEntry& entry = folder.entries[index];
            folder.fates.push_back(FateOf(entry));
            if (IsEnteredAsFolder(entry, folder.fates.back())) {
                SubFolder& subFolder = folder.subFolders.emplace_back();
                subFolder.entry = index;
                subFolder.parent = &folder.folder;
                subFolder.name = &entry.name;
            }
        }
        Publish(readAhead, folder.subFolders);
    }

    // Closes the outermost folder held but the innermost, noting which folder it is; false when
    // there is none.
    bool LetGoOfOutermostFolder() {
        if (letGo + 1 >= stack.size()) {
            return false;
        }
        WalkedFolder& folder = stack[letGo++];
        Withdraw(readAhead, folder.subFolders.data() + folder.nextSubFolder,
                 folder.subFolders.data() + folder.subFolders.size());
        folder.identity = source.Identify(folder.folder);
        folder.folder = HeldFolder();
        return true;
    }

    // Opens the innermost folder again, from the root down through the names walked, each
    // checked to be the folder it was, and holds as many of the innermost as it may. Gives the
    // folder that cannot be found so, if any.
    std::optional<LostFolder> FindWayBack() {
        const std::size_t innermost = stack.size() - 1;
        const std::size_t firstHeld = innermost + 1 - std::min(innermost + 1, limits.mostHeld - 1);
        HeldFolder above;
        for (std::size_t level = 0; level <= innermost; ++level) {
            WalkedFolder& folder = stack[level];
            HeldFolder opened;
            boost::system::error_code error;
            if (level == 0) {
                error = source.OpenRoot(root, opened);
            } else if (source.OpenSubFolder(level <= firstHeld ? above : stack[level - 1].folder,
                                            folder.name, opened,
                                            error) == SubFolderOpening::NoFolder) {
                error = boost::system::errc::make_error_code(boost::system::errc::not_a_directory);
            }
            if (!error && !(source.Identify(opened) == folder.identity)) {
                // Another folder stands at its name: the one walked was moved away.
                error = boost::system::errc::make_error_code(
                    boost::system::errc::no_such_file_or_directory);
            }
            if (IsResourceError(error)) {
                throw boost::system::system_error(error, folder.windowsPath);
            }
            if (error) {
                return LostFolder{level, error};
            }
            if (level >= firstHeld) {
                folder.folder = std::move(opened);
            } else {
                above = std::move(opened);
            }
        }
        letGo = firstHeld;
        return std::nullopt;
    }

    // Leaves the innermost folder, whose entries are all walked, for the one above it. Where the
    // way back leads to a folder moved meanwhile, what is left of that folder is given up.
    void LeaveFolder() {
        stack.pop_back();
        while (!stack.empty() && letGo == stack.size()) {
            const std::optional<LostFolder> lost = FindWayBack();
            if (!lost) {
                break;
            }
            if (lost->level == 0) {
                throw boost::system::system_error(lost->error, root);
            }
            Report(stack[lost->level].windowsPath, lost->error.message());
            for (std::size_t level = lost->level; level < stack.size(); ++level) {
                WalkedFolder& folder = stack[level];
                Withdraw(readAhead, folder.subFolders.data() + folder.nextSubFolder,
                         folder.subFolders.data() + folder.subFolders.size());
            }
            stack.resize(lost->level);
            letGo = std::min(letGo, stack.size());
        }
    }

    // Enters a sub-folder of the innermost folder, at path.
    void EnterSubFolder(SubFolder& subFolder, std::string&& path) {
        SubFolderListing listing = TakeListing(readAhead, subFolder);
        while (listing.opening == SubFolderOpening::OutOfHandles) {
            if (!LetGoOfOutermostFolder()) {
                throw boost::system::system_error(listing.error, path);
            }
            listing = ListSubFolder(source, *subFolder.parent, *subFolder.name);
        }
        if (IsResourceError(listing.error)) {
            throw boost::system::system_error(listing.error, path);
        }
        if (listing.error) {
            Report(path, listing.error.message());
        }
        if (listing.opening == SubFolderOpening::Opened) {
            PushFolder(std::move(path), *subFolder.name, std::move(listing.folder),
                       std::move(listing.entries));
        }
    }

    // Walks the next entry of the innermost folder.
    void WalkEntry() {
        WalkedFolder& folder = stack.back();
        const std::size_t index = folder.next++;
        const FolderEntry& entry = folder.entries[index];
        const EntryFate fate = folder.fates[index];
        if (fate == EntryFate::LeftOut) {
            return;
        }
        JoinEntryPath(stack.size() - 1, entry.name);
        if (fate == EntryFate::Unfit) {
            Report(ShownPath(entryPath), WhyNameIsLeftOut(entry.name));
            return;
        }
        if (entry.statusError) {
            Report(entryPath, entry.statusError.message());
        } else if (entry.isFolder) {
            std::string folderText = entryPath;
            TrimThroughSrc(folderText);
            if (IsOutsideExcludedFolders(folderText)) {
                folders.push_back(std::move(folderText));
            }
        }
        const bool enters = IsEnteredAsFolder(entry, fate);
        std::string subFolderPath = enters ? entryPath : std::string();
        ClassifyScannedPath(entryPath, inventory);  // turns entryPath into its project path
        if (enters) {
            EnterSubFolder(folder.subFolders[folder.nextSubFolder++], std::move(subFolderPath));
        }
    }

    // Walks the tree below the root, whose entries are listed.
    void Walk(HeldFolder&& held, std::vector<FolderEntry>&& entries) {
        JoinWindowsPath(root, true, std::string(), entryPath);
        rootPrefix = entryPath.size();
        PushFolder(std::string(root), std::string(), std::move(held), std::move(entries));
        while (!stack.empty()) {
            if (stack.back().next < stack.back().entries.size()) {
                WalkEntry();
            } else {
                LeaveFolder();
            }
        }
    }
};

}  // namespace

boost::system::error_code WalkFolders(FolderSource& source, const std::string& root,
                                      const WalkLimits& limits, const LeftOutOfWalk& leftOut,
                                      SourceInventory& inventory, FolderList& folders,
                                      std::ostream& errorOutput) {
    HeldFolder rootFolder;
    std::vector<FolderEntry> entries;
    boost::system::error_code error = source.OpenRoot(root, rootFolder);
    if (!error) {
        error = source.List(rootFolder, entries);
    }
    if (error) {
        return error;
    }
    SortInNtfsOrder(entries);
    TreeWalk walk{source, root, limits, leftOut, inventory, folders, errorOutput, {}, 0, {}, 0};
    walk.Walk(std::move(rootFolder), std::move(entries));
    return {};
}

boost::system::error_code WalkSourceTree(const std::string& root, SourceInventory& inventory,
                                         FolderList& folders, std::ostream& errorOutput,
                                         const LeftOutOfWalk& leftOut, std::size_t threads) {
    return WalkFolders(SystemFolders(), root, LimitsForWalk(threads, HandleLimit()), leftOut,
                       inventory, folders, errorOutput);
}

}  // namespace tamrivo
