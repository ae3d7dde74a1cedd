#include "scan/SourceTreeWalk.h"

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <vector>

#include "platform/FileAccess.h"
#include "platform/FolderListing.h"
#include "scan/Classification.h"
#include "scan/NtfsOrder.h"
#include "scan/PathRules.h"

namespace tamrivo {
namespace {

// One folder being walked: its entries in NTFS order and the next one to handle.
struct OpenFolder {
    std::string windowsPath;
    std::vector<FolderEntry> entries;
    std::size_t next = 0;
};

void ReportAccessError(std::ostream& errorOutput, const std::string& path,
                       const std::string& message) {
    errorOutput << "Error While Accessing : " << path << " :: " << message << std::endl;
}

void ReportAccessError(std::ostream& errorOutput, const std::string& path,
                       const boost::system::error_code& error) {
    ReportAccessError(errorOutput, path, error.message());
}

bool IsLineBreak(char c) {
    return c == '\n' || c == '\r';
}

// A name with a line break (possible off Windows) would split a line of the new files and come
// back as a different line on the next run; such an entry is reported, its breaks shown as "?",
// and left out with everything below it.
bool LeftOutForLineBreak(std::ostream& errorOutput, const std::string& name,
                         const std::string& entryPath) {
    if (std::none_of(name.begin(), name.end(), IsLineBreak)) {
        return false;
    }
    std::string shown = entryPath;
    std::replace_if(shown.begin(), shown.end(), IsLineBreak, '?');
    ReportAccessError(errorOutput, shown, "the name holds a line break; left out");
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

}  // namespace

boost::system::error_code WalkSourceTree(const std::string& root, SourceInventory& inventory,
                                         FolderList& folders, std::ostream& errorOutput) {
    FolderChain chain;
    std::vector<OpenFolder> stack(1);
    stack.back().windowsPath = root;
    const boost::system::error_code rootError =
        EnterRootFolder(chain, NativePath(root), stack.back().entries);
    if (rootError) {
        return rootError;
    }
    std::vector<SortPlace> places;
    SortEntries(stack.back(), places);

    std::string entryPath;
    // The emptied lists of folders walked: the next folders take them over with their room, so
    // that a listing does not grow a list of its own.
    std::vector<std::vector<FolderEntry>> spareLists;
    while (!stack.empty()) {
        OpenFolder& folder = stack.back();
        if (folder.next == folder.entries.size()) {
            folder.entries.clear();
            spareLists.push_back(std::move(folder.entries));
            stack.pop_back();
            const boost::system::error_code error = LeaveFolder(chain);
            if (error) {
                // The folder above cannot be found again: nothing more can be walked.
                ReportAccessError(errorOutput, stack.back().windowsPath, error);
                break;
            }
            continue;
        }
        const FolderEntry& entry = folder.entries[folder.next++];
        JoinWindowsPath(folder.windowsPath, stack.size() == 1, entry.name, entryPath);
        if (LeftOutForLineBreak(errorOutput, entry.name, entryPath)) {
            continue;
        }

        // The listing made the entry's own status query, following links: a link to a folder is
        // listed as a folder.
        if (entry.statusError) {
            ReportAccessError(errorOutput, entryPath, entry.statusError);
        } else if (entry.isFolder) {
            std::string folderText = entryPath;
            TrimThroughSrc(folderText);
            if (IsOutsideExcludedFolders(folderText)) {
                folders.push_back(std::move(folderText));
            }
        }
        // Only real folders are entered, each opened inside its parent: a link is listed but
        // never followed, also when it took the folder's place after the listing.
        OpenFolder child;
        const bool enter = entry.isRealFolder;
        if (enter) {
            child.windowsPath = entryPath;
            if (!spareLists.empty()) {
                child.entries = std::move(spareLists.back());
                spareLists.pop_back();
            }
        }
        ClassifyScannedPath(entryPath, inventory);
        if (enter) {
            boost::system::error_code error;
            const bool entered = EnterSubFolder(chain, entry.name, child.entries, error);
            if (error) {
                ReportAccessError(errorOutput, child.windowsPath, error);
            }
            if (entered) {
                SortEntries(child, places);
                stack.push_back(std::move(child));
            }
        }
    }
    return {};
}

}  // namespace tamrivo
