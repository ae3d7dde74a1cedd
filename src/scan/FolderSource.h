#pragma once

#include <string>
#include <vector>

#include "platform/FolderListing.h"

namespace tamrivo {

// Where the walk finds its folders: the system's file systems (SystemFolders), or a tree that a
// test scripts. Called from several threads at once.
class FolderSource {
  public:
    virtual ~FolderSource() = default;
    // Opens the root, following a link (it is the user's own path).
    virtual boost::system::error_code OpenRoot(const std::string& root, HeldFolder& folder) = 0;
    // Opens the sub-folder name of parent inside it, refusing a link.
    virtual SubFolderOpening OpenSubFolder(const HeldFolder& parent, const std::string& name,
                                           HeldFolder& folder,
                                           boost::system::error_code& error) = 0;
    // Appends the folder's entries, each with its own status query.
    virtual boost::system::error_code List(const HeldFolder& folder,
                                           std::vector<FolderEntry>& entries) = 0;
    // Which folder it is, to recognise it when it is opened again.
    virtual FolderIdentity Identify(const HeldFolder& folder) = 0;
};

// The system's folders, through the platform's listing.
FolderSource& SystemFolders();

}  // namespace tamrivo
