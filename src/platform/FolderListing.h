#pragma once

#include <boost/filesystem/path.hpp>
#include <boost/system/error_code.hpp>
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

// Appends the entries of a folder ("." and ".." left out) in the order the system lists them,
// each with one status query of its own that follows links. Returns the error that ended the
// listing early: the folder could not be opened (nothing appended) or reading on failed (the
// entries before it appended); no error when every entry was listed. Holds one open descriptor,
// and only while it runs.
boost::system::error_code ListFolderEntries(const boost::filesystem::path& folder,
                                            std::vector<FolderEntry>& entries);

}  // namespace tamrivo
