#include "scan/SourceTreeWalk.h"

#include <algorithm>
#include <boost/system/system_error.hpp>
#include <optional>
#include <ostream>
#include <vector>

#include "scan/Classification.h"
#include "scan/EntryNames.h"
#include "scan/PathRules.h"
#include "scan/ReadAhead.h"

namespace tamrivo {
namespace {

// A folder on the walk's way down and how far its entries are walked.
struct WalkPlace {
    WalkedFolder* folder;
    std::size_t next = 0;
    std::size_t nextSubFolder = 0;
};

// Drops a folder's listing with the handle it holds; it is listed again if the walk gets to it.
void Forget(WalkedFolder& folder) {
    folder.listed = false;
    folder.opening = SubFolderOpening::Failed;
    folder.error.clear();
    folder.held = HeldFolder();
    std::vector<FolderEntry>().swap(folder.entries);
    std::vector<EntryFate>().swap(folder.fates);
    std::vector<WalkedFolder>().swap(folder.subFolders);
}

// The lost folder of a way back that failed: its level and why.
struct LostFolder {
    std::size_t level;
    boost::system::error_code error;
};

// One walk: a single thread walks the folders in order; helpers only list ahead of it.
struct TreeWalk {
    const WalkLimits& limits;
    SourceInventory& inventory;
    FolderList& folders;
    std::ostream& errorOutput;
    ReadAhead& readAhead;
    // The folders from the root down to the one walked. The outermost letGo of them are let go
    // (closed) to keep within the handles; the others are held open.
    std::vector<WalkPlace> stack;
    std::size_t letGo = 0;
    std::string entryPath;  // room for the entry walked

    void Report(const std::string& path, std::string_view message) {
        errorOutput << "Error While Accessing : " << path << " :: " << message << '\n'
                    << std::flush;
    }

    [[noreturn]] static void Fail(const boost::system::error_code& error, const std::string& path) {
        throw boost::system::system_error(error, path);
    }

    // Takes the sub-folders of the folder at place that the walk has not entered yet back from
    // the helpers, with all they found below them.
    void WithdrawSubFolders(const WalkPlace& place) {
        std::vector<WalkedFolder>& subFolders = place.folder->subFolders;
        Withdraw(readAhead, subFolders.data() + place.nextSubFolder,
                 subFolders.data() + subFolders.size());
    }

    // Closes the outermost folder held but the innermost, noting which folder it is; false when
    // there is none.
    bool LetGoOfOutermostFolder() {
        if (letGo + 1 >= stack.size()) {
            return false;
        }
        const WalkPlace& place = stack[letGo++];
        // Sub-folders listed ahead hold handles of their own: they are listed again when the walk
        // gets to them.
        WithdrawSubFolders(place);
        for (std::size_t next = place.nextSubFolder; next < place.folder->subFolders.size();
             ++next) {
            WalkedFolder& subFolder = place.folder->subFolders[next];
            Forget(subFolder);
        }
        place.folder->identity = readAhead.rules.source.Identify(place.folder->held);
        place.folder->held = HeldFolder();
        return true;
    }

    // Opens the innermost folder again, from the root down through the names walked, each
    // checked to be the folder it was, and holds as many of the innermost as it may. Gives the
    // folder that cannot be found so, if any.
    std::optional<LostFolder> FindWayBack() {
        FolderSource& source = readAhead.rules.source;
        const std::size_t innermost = stack.size() - 1;
        const std::size_t firstHeld = innermost + 1 - std::min(innermost + 1, limits.mostHeld - 1);
        HeldFolder above;
        for (std::size_t level = 0; level <= innermost; ++level) {
            WalkedFolder& folder = *stack[level].folder;
            HeldFolder opened;
            boost::system::error_code error;
            if (level == 0) {
                error = source.OpenRoot(folder.windowsPath, opened);
            } else if (source.OpenSubFolder(
                           level <= firstHeld ? above : stack[level - 1].folder->held, folder.name,
                           opened, error) == SubFolderOpening::NoFolder) {
                error = boost::system::errc::make_error_code(boost::system::errc::not_a_directory);
            }
            if (!error && !(source.Identify(opened) == folder.identity)) {
                // Another folder stands at its name: the one walked was moved away.
                error = boost::system::errc::make_error_code(
                    boost::system::errc::no_such_file_or_directory);
            }
            if (IsResourceError(error)) {
                Fail(error, folder.windowsPath);
            }
            if (error) {
                return LostFolder{level, error};
            }
            (level >= firstHeld ? folder.held : above) = std::move(opened);
        }
        letGo = firstHeld;
        return std::nullopt;
    }

    // Leaves the innermost folder, whose entries are all walked, for the one above it. Where the
    // way back leads to a folder moved meanwhile, what is left of that folder is given up.
    void LeaveFolder() {
        WalkedFolder& left = *stack.back().folder;
        stack.pop_back();
        // Its listing is walked: what it held goes now, not with the tree at the end.
        Forget(left);
        while (!stack.empty() && letGo == stack.size()) {
            const std::optional<LostFolder> lost = FindWayBack();
            if (!lost) {
                break;
            }
            if (lost->level == 0) {
                Fail(lost->error, stack.front().folder->windowsPath);
            }
            Report(stack[lost->level].folder->windowsPath, lost->error.message());
            for (std::size_t level = lost->level; level < stack.size(); ++level) {
                WithdrawSubFolders(stack[level]);
            }
            Forget(*stack[lost->level].folder);  // with the folders below it and their handles
            stack.resize(lost->level);
            letGo = std::min(letGo, stack.size());
        }
    }

    // Makes a listed folder the innermost.
    void PushFolder(WalkedFolder& folder) {
        while (stack.size() - letGo >= limits.mostHeld && LetGoOfOutermostFolder()) {
        }
        stack.push_back({&folder});
    }

    // Enters a sub-folder of the innermost folder.
    void EnterSubFolder(WalkedFolder& subFolder) {
        TakeListing(readAhead, subFolder);
        while (subFolder.opening == SubFolderOpening::OutOfHandles) {
            if (!LetGoOfOutermostFolder()) {
                Fail(subFolder.error, subFolder.windowsPath);
            }
            Forget(subFolder);
            TakeListing(readAhead, subFolder);
        }
        if (IsResourceError(subFolder.error)) {
            Fail(subFolder.error, subFolder.windowsPath);
        }
        if (subFolder.error) {
            Report(subFolder.windowsPath, subFolder.error.message());
        }
        if (subFolder.opening == SubFolderOpening::Opened) {
            PushFolder(subFolder);
        }
    }

    // Walks the next entry of the innermost folder.
    void WalkEntry() {
        WalkPlace& place = stack.back();
        WalkedFolder& folder = *place.folder;
        const std::size_t index = place.next++;
        const FolderEntry& entry = folder.entries[index];
        const EntryFate fate = folder.fates[index];
        if (fate == EntryFate::LeftOut) {
            return;
        }
        JoinWindowsPath(folder.windowsPath, stack.size() == 1, entry.name, entryPath);
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
        ClassifyScannedPath(entryPath, inventory);  // turns entryPath into its project path
        if (IsEnteredAsFolder(entry, fate)) {
            EnterSubFolder(folder.subFolders[place.nextSubFolder++]);
        }
    }

    // Walks the tree below the listed root.
    void Walk(WalkedFolder& root) {
        PushFolder(root);
        while (!stack.empty()) {
            if (stack.back().next < stack.back().folder->entries.size()) {
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
    WalkedFolder rootFolder;
    rootFolder.windowsPath = root;
    std::string rootPrefix;
    JoinWindowsPath(root, true, std::string(), rootPrefix);
    const ListingRules rules{source, leftOut, rootPrefix.size()};
    // Made after the folders it lists, so that its helpers stop before they go.
    ReadAhead readAhead(rules, limits.mostListedAhead, limits.helpers);
    TakeListing(readAhead, rootFolder);  // the root's sub-folders are published with it
    if (rootFolder.error) {
        return rootFolder.error;
    }
    TreeWalk walk{limits, inventory, folders, errorOutput, readAhead, {}, 0, {}};
    walk.Walk(rootFolder);
    return {};
}

boost::system::error_code WalkSourceTree(const std::string& root, SourceInventory& inventory,
                                         FolderList& folders, std::ostream& errorOutput,
                                         const LeftOutOfWalk& leftOut, std::size_t threads) {
    return WalkFolders(SystemFolders(), root, LimitsForWalk(threads, HandleLimit()), leftOut,
                       inventory, folders, errorOutput);
}

}  // namespace tamrivo
