#include "scan/SourceTreeWalk.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <ostream>
#include <thread>
#include <vector>

#include "platform/FileAccess.h"
#include "platform/FolderListing.h"
#include "scan/Classification.h"
#include "scan/NtfsOrder.h"
#include "scan/PathRules.h"
#include "scan/WalkParts.h"

namespace tamrivo {
namespace {

// A sub-folder of an open folder that another part of the walk covers.
struct HandedOff {
    std::size_t entry;  // its place among the folder's entries
    std::size_t part;   // the part that walks below it
};

// One folder being walked: its entries in NTFS order and the next one to handle.
struct OpenFolder {
    std::string windowsPath;
    std::vector<FolderEntry> entries;
    std::size_t next = 0;
    std::vector<HandedOff> handedOff;  // in the order of their entries
    std::size_t nextHandedOff = 0;
    std::size_t searchedForHandOff = 0;  // entries before it are handed off or cannot be
};

void ReportAccessError(std::string& errors, const std::string& path, const std::string& message) {
    errors += "Error While Accessing : ";
    errors += path;
    errors += " :: ";
    errors += message;
    errors += '\n';
}

void ReportAccessError(std::string& errors, const std::string& path,
                       const boost::system::error_code& error) {
    ReportAccessError(errors, path, error.message());
}

bool IsLineBreak(char c) {
    return c == '\n' || c == '\r';
}

bool HoldsLineBreak(const std::string& name) {
    return std::any_of(name.begin(), name.end(), IsLineBreak);
}

// True for an entry that the walk enters and lists whole: a real folder whose status and name
// raise nothing to report.
bool MayBeHandedOff(const FolderEntry& entry) {
    return entry.isRealFolder && !entry.statusError && !HoldsLineBreak(entry.name);
}

// A name with a line break (possible off Windows) would split a line of the new files and come
// back as a different line on the next run; such an entry is reported, its breaks shown as "?",
// and left out with everything below it.
bool LeftOutForLineBreak(std::string& errors, const std::string& name,
                         const std::string& entryPath) {
    if (!HoldsLineBreak(name)) {
        return false;
    }
    std::string shown = entryPath;
    std::replace_if(shown.begin(), shown.end(), IsLineBreak, '?');
    ReportAccessError(errors, shown, "the name holds a line break; left out");
    return true;
}

// Sets path to the path string of an entry of a folder, Windows form: the folder, a backslash,
// the name. Only the root may end in a separator of its own (C:\, C:, /); a folder below it whose
// name ends in a colon still gets its backslash. Reusing one string spares an allocation per entry.
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

// An entry's place in its folder's listing and its name's NtfsOrderKey.
struct SortPlace {
    std::uint64_t key;
    std::size_t place;
};

// Puts a folder's entries in NTFS order. Their keys decide most comparisons; the places are
// sorted, and each entry is then moved once, along the cycles of the order. places is room that
// calls share.
void SortEntries(OpenFolder& folder, std::vector<SortPlace>& places) {
    std::vector<FolderEntry>& entries = folder.entries;
    places.clear();
    for (std::size_t place = 0; place < entries.size(); ++place) {
        places.push_back({NtfsOrderKey(entries[place].name), place});
    }
    std::sort(places.begin(), places.end(),
              [&entries](const SortPlace& left, const SortPlace& right) {
                  if (left.key != right.key && left.key != 0 && right.key != 0) {
                      return left.key < right.key;
                  }
                  return NtfsNameLess(entries[left.place].name, entries[right.place].name);
              });
    // places[i].place is where the entry for position i stands; each position done is marked by
    // its own number.
    for (std::size_t start = 0; start < entries.size(); ++start) {
        if (places[start].place == start) {
            continue;
        }
        FolderEntry held = std::move(entries[start]);
        std::size_t position = start;
        while (places[position].place != start) {
            const std::size_t from = places[position].place;
            entries[position] = std::move(entries[from]);
            places[position].place = position;
            position = from;
        }
        entries[position] = std::move(held);
        places[position].place = position;
    }
}

// One thread's walk of one part: its folders, each open, the part's first at the bottom.
struct PartWalk {
    WalkShare& share;
    WalkPart& part;
    std::vector<OpenFolder> stack;
    std::vector<SortPlace> places;  // room for SortEntries
    std::string entryPath;          // room for JoinWindowsPath
    // The emptied lists of folders walked: the next folders take them over with their room, so
    // that a listing does not grow a list of its own.
    std::vector<std::vector<FolderEntry>> spareLists;
    // How many sub-folders of the open folders are neither walked nor handed off yet.
    std::size_t foldersAhead = 0;
    // The levels below it hold no sub-folder that could still be handed off.
    std::size_t firstLevelToSearch = 0;

    bool IsRootFolder(std::size_t level) const { return part.isRoot && level == 0; }

    std::vector<FolderEntry> SpareList() {
        std::vector<FolderEntry> list;
        if (!spareLists.empty()) {
            list = std::move(spareLists.back());
            spareLists.pop_back();
        }
        return list;
    }

    // Makes folder, listed and sorted, the innermost folder.
    void PushFolder(OpenFolder&& folder) {
        foldersAhead += static_cast<std::size_t>(
            std::count_if(folder.entries.begin(), folder.entries.end(), MayBeHandedOff));
        stack.push_back(std::move(folder));
    }

    // Gives a waiting thread the first sub-folder not yet walked nearest the part's first folder:
    // the most work for one hand-off. Only while the part keeps another sub-folder to walk, so
    // that a chain of single folders is not passed to and fro; a folder that cannot be handed
    // off stays with this part.
    void HandOffASubFolder() {
        for (std::size_t level = firstLevelToSearch; level < stack.size() && foldersAhead > 1;
             ++level) {
            OpenFolder& folder = stack[level];
            std::size_t& entry = folder.searchedForHandOff;
            for (entry = std::max(entry, folder.next); entry < folder.entries.size(); ++entry) {
                const FolderEntry& candidate = folder.entries[entry];
                FolderChain chain;
                if (!MayBeHandedOff(candidate) ||
                    !OpenSubFolderInNewChain(part.chain, level, candidate.name, chain)) {
                    continue;
                }
                std::string path;
                JoinWindowsPath(folder.windowsPath, IsRootFolder(level), candidate.name, path);
                folder.handedOff.push_back(
                    {entry, HandOut(share, std::move(chain), std::move(path))});
                ++entry;
                --foldersAhead;
                return;
            }
            if (level == firstLevelToSearch) {
                ++firstLevelToSearch;
            }
        }
    }

    // Handles the next entry of the innermost folder.
    void WalkEntry() {
        OpenFolder& folder = stack.back();
        const std::size_t index = folder.next++;
        const FolderEntry& entry = folder.entries[index];
        JoinWindowsPath(folder.windowsPath, IsRootFolder(stack.size() - 1), entry.name, entryPath);
        if (LeftOutForLineBreak(part.errors, entry.name, entryPath)) {
            return;
        }

        // The listing made the entry's own status query, following links: a link to a folder
        // is listed as a folder.
        if (entry.statusError) {
            ReportAccessError(part.errors, entryPath, entry.statusError);
        } else if (entry.isFolder) {
            std::string folderText = entryPath;
            TrimThroughSrc(folderText);
            if (IsOutsideExcludedFolders(folderText)) {
                part.folders.push_back(std::move(folderText));
            }
        }
        // Only real folders are entered, each opened inside its parent: a link is listed but
        // never followed, also when it took the folder's place after the listing.
        OpenFolder child;
        const bool enter = entry.isRealFolder;
        if (enter) {
            child.windowsPath = entryPath;
        }
        ClassifyScannedPath(entryPath, part.inventory);
        if (folder.nextHandedOff < folder.handedOff.size() &&
            folder.handedOff[folder.nextHandedOff].entry == index) {
            // What another part found below it belongs here.
            Splice(part, folder.handedOff[folder.nextHandedOff++].part);
            return;
        }
        if (MayBeHandedOff(entry)) {
            --foldersAhead;
        }
        if (enter) {
            child.entries = SpareList();
            boost::system::error_code error;
            const bool entered = EnterSubFolder(part.chain, entry.name, child.entries, error);
            if (error) {
                ReportAccessError(part.errors, child.windowsPath, error);
            }
            if (entered) {
                SortEntries(child, places);
                PushFolder(std::move(child));
            }
        }
    }

    // Walks the part from its first folder, whose entries are listed unless it is the root.
    void Walk() {
        OpenFolder first;
        first.windowsPath = part.firstFolderPath;
        first.entries = std::move(part.listedEntries);
        if (!part.isRoot) {
            const boost::system::error_code error = ListInnermostFolder(part.chain, first.entries);
            if (error) {
                ReportAccessError(part.errors, part.firstFolderPath, error);
            }
        }
        SortEntries(first, places);
        PushFolder(std::move(first));
        while (!stack.empty()) {
            OpenFolder& folder = stack.back();
            if (folder.next < folder.entries.size()) {
                if (ThreadsWait(share)) {
                    HandOffASubFolder();
                }
                WalkEntry();
                continue;
            }
            folder.entries.clear();
            spareLists.push_back(std::move(folder.entries));
            stack.pop_back();
            firstLevelToSearch = std::min(firstLevelToSearch, stack.size());
            const boost::system::error_code error = LeaveFolder(part.chain);
            if (error) {
                // The folder above cannot be found again: nothing more of this part can be
                // walked.
                ReportAccessError(part.errors, stack.back().windowsPath, error);
                break;
            }
        }
    }
};

// Walks parts until none is left.
void WalkParts(WalkShare& share) {
    while (WalkPart* const part = TakePart(share)) {
        try {
            PartWalk{share, *part, {}, {}, {}, {}, 0, 0}.Walk();
        } catch (...) {
            GiveUp(share, std::current_exception());
        }
        FinishPart(share);
    }
}

}  // namespace

boost::system::error_code WalkSourceTree(const std::string& root, SourceInventory& inventory,
                                         FolderList& folders, std::ostream& errorOutput,
                                         std::size_t threads) {
    WalkShare share;
    share.foldersHeldPerChain = FoldersHeldPerChain(threads);
    WalkPart& rootPart = share.parts.emplace_back();
    rootPart.chain.mostHeld = share.foldersHeldPerChain;
    rootPart.isRoot = true;
    rootPart.firstFolderPath = root;
    const boost::system::error_code rootError =
        EnterRootFolder(rootPart.chain, NativePath(root), rootPart.listedEntries);
    if (rootError) {
        return rootError;
    }
    share.waiting.push_back(0);
    ++share.waitingParts;

    std::vector<std::thread> helpers;
    try {
        while (helpers.size() + 1 < threads) {
            helpers.emplace_back(WalkParts, std::ref(share));
        }
    } catch (const std::exception&) {
        // The threads that could be started walk the whole tree; this one at least.
    }
    WalkParts(share);
    for (std::thread& helper : helpers) {
        helper.join();
    }
    if (share.failure) {
        std::rethrow_exception(share.failure);
    }
    std::string errors;
    GatherParts(share.parts, inventory, folders, errors);
    errorOutput << errors << std::flush;
    return {};
}

}  // namespace tamrivo
