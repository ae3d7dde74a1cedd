#include "scan/SourceTreeWalk.h"

#include <algorithm>
#include <boost/filesystem/operations.hpp>
#include <ostream>
#include <vector>

#include "platform/FileAccess.h"
#include "platform/FolderListing.h"
#include "scan/Classification.h"
#include "scan/NtfsOrder.h"
#include "scan/PathRules.h"

namespace tamrivo {
namespace fs = boost::filesystem;
namespace {

// One folder being walked: its entries in listing order and the next one to handle.
struct OpenFolder {
    std::string windowsPath;
    fs::path nativePath;
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
// the name. Reusing one string spares an allocation per entry.
void JoinWindowsPath(const std::string& folder, const std::string& name, std::string& path) {
    const bool endsInSeparator =
        !folder.empty() && (folder.back() == '\\' || folder.back() == '/' || folder.back() == ':');
    path.assign(folder);
    if (!endsInSeparator) {
        path += '\\';
    }
    path += name;
}

// Lists a folder's entries in NTFS order; a failure is reported, and what was listed before it
// is walked.
void ListFolder(OpenFolder& folder, std::ostream& errorOutput) {
    const boost::system::error_code error = ListFolderEntries(folder.nativePath, folder.entries);
    if (error) {
        ReportAccessError(errorOutput, folder.windowsPath, error);
    }
    std::sort(folder.entries.begin(), folder.entries.end(),
              [](const FolderEntry& left, const FolderEntry& right) {
                  return NtfsNameLess(left.name, right.name);
              });
}

}  // namespace

SourceInventory WalkSourceTree(const std::string& root, SourceInventory& inventory,
                               FolderList& folders, std::ostream& errorOutput) {
    boost::system::error_code error;
    const fs::path nativeRoot = NativePath(root);
    if (!fs::is_directory(fs::status(nativeRoot, error))) {
        return inventory;
    }

    std::vector<OpenFolder> stack(1);
    stack.back().windowsPath = root;
    stack.back().nativePath = nativeRoot;
    ListFolder(stack.back(), errorOutput);

    std::string entryPath;
    while (!stack.empty()) {
        OpenFolder& folder = stack.back();
        if (folder.next == folder.entries.size()) {
            stack.pop_back();
            continue;
        }
        const FolderEntry& entry = folder.entries[folder.next++];
        JoinWindowsPath(folder.windowsPath, entry.name, entryPath);
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

        // Only real folders are entered; links are listed but never followed.
        OpenFolder child;
        const bool enter = entry.isRealFolder;
        if (enter) {
            child.windowsPath = entryPath;
            child.nativePath = folder.nativePath / entry.name;
        }
        ClassifyScannedPath(entryPath, inventory);
        if (enter) {
            ListFolder(child, errorOutput);
            stack.push_back(std::move(child));
        }
    }
    return inventory;
}

}  // namespace tamrivo
