#include "scan/SourceTreeWalk.h"

#include <algorithm>
#include <boost/filesystem/directory.hpp>
#include <boost/filesystem/operations.hpp>
#include <ostream>
#include <vector>

#include "platform/FileAccess.h"
#include "scan/Classification.h"
#include "scan/PathRules.h"

namespace tamrivo {
namespace fs = boost::filesystem;
namespace {

// One entry of a folder listing: its name, and whether it is a folder itself rather than a link.
struct ListedEntry {
    std::string name;
    bool isRealFolder;
};

// One folder being walked: its entries in listing order and the next one to handle.
struct OpenFolder {
    std::string windowsPath;
    fs::path nativePath;
    std::vector<ListedEntry> entries;
    std::size_t next = 0;
};

unsigned char UpperAscii(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c;
}

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

// The path string of an entry of a folder, Windows form: the folder, a backslash, the name.
std::string JoinWindowsPath(const std::string& folder, const std::string& name) {
    const bool endsInSeparator =
        !folder.empty() && (folder.back() == '\\' || folder.back() == '/' || folder.back() == ':');
    return endsInSeparator ? folder + name : folder + '\\' + name;
}

// Lists a folder's entries in NTFS order; a failure is reported and ends the listing there.
bool ListFolder(OpenFolder& folder, std::ostream& errorOutput) {
    boost::system::error_code error;
    fs::directory_iterator entry(folder.nativePath, error);
    if (error) {
        ReportAccessError(errorOutput, folder.windowsPath, error);
        return false;
    }
    for (const fs::directory_iterator end; entry != end;) {
        // The listing's own file type says whether the entry is a link; no extra query is made.
        boost::system::error_code typeError;
        const bool isRealFolder = fs::is_directory(entry->symlink_status(typeError));
        folder.entries.push_back({NarrowString(entry->path().filename()), isRealFolder});
        entry.increment(error);
        if (error) {
            ReportAccessError(errorOutput, folder.windowsPath, error);
            break;
        }
    }
    std::sort(folder.entries.begin(), folder.entries.end(),
              [](const ListedEntry& left, const ListedEntry& right) {
                  return NtfsNameLess(left.name, right.name);
              });
    return true;
}

}  // namespace

bool NtfsNameLess(const std::string& left, const std::string& right) {
    const std::size_t common = std::min(left.size(), right.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char l = UpperAscii(static_cast<unsigned char>(left[i]));
        const unsigned char r = UpperAscii(static_cast<unsigned char>(right[i]));
        if (l != r) {
            return l < r;
        }
    }
    if (left.size() != right.size()) {
        return left.size() < right.size();
    }
    return left < right;
}

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

    while (!stack.empty()) {
        OpenFolder& folder = stack.back();
        if (folder.next == folder.entries.size()) {
            stack.pop_back();
            continue;
        }
        const ListedEntry& listed = folder.entries[folder.next++];
        std::string entryPath = JoinWindowsPath(folder.windowsPath, listed.name);
        if (LeftOutForLineBreak(errorOutput, listed.name, entryPath)) {
            continue;
        }
        fs::path nativeEntry = folder.nativePath / listed.name;

        // The entry's own status query follows links: a link to a folder is listed as a folder.
        const fs::file_status status = fs::status(nativeEntry, error);
        if (status.type() == fs::status_error) {
            ReportAccessError(errorOutput, entryPath, error);
        } else if (fs::is_directory(status)) {
            std::string folderText = entryPath;
            if (IsOutsideExcludedFolders(TrimThroughSrc(folderText))) {
                folders.push_back(folderText);
            }
        }

        std::string classified = entryPath;
        ClassifyScannedPath(classified, inventory);

        // Only real folders are entered; links are listed but never followed.
        if (listed.isRealFolder) {
            OpenFolder child;
            child.windowsPath = std::move(entryPath);
            child.nativePath = std::move(nativeEntry);
            if (ListFolder(child, errorOutput)) {
                stack.push_back(std::move(child));
            }
        }
    }
    return inventory;
}

}  // namespace tamrivo
