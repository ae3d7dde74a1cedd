#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/FolderListing.h"
#include "scan/FolderSource.h"

namespace tamrivo {

// What listing one sub-folder gave.
struct SubFolderListing {
    SubFolderOpening opening = SubFolderOpening::Failed;
    HeldFolder folder;                 // held open when opened
    std::vector<FolderEntry> entries;  // in NTFS order
    boost::system::error_code error;   // why it was not opened, or what ended its listing early
    std::exception_ptr failure;        // an exception that stopped a helper listing it
};

// Who has a sub-folder's listing.
enum class ListingState {
    Published,    // waits in the read-ahead; a helper may take it
    Listing,      // a helper lists it
    ListedAhead,  // a helper listed it: the walk finds it ready
    Walks,        // the walking thread's: it takes the listing, or lists the folder itself
};

// A sub-folder that the walk enters once it gets to its entry.
struct SubFolder {
    std::size_t entry = 0;               // its place among its folder's entries
    const HeldFolder* parent = nullptr;  // held open while the sub-folder may be listed
    const std::string* name = nullptr;
    ListingState state = ListingState::Walks;
    bool listed = false;
    SubFolderListing listing;
};

// Opens the sub-folder name inside parent and lists its entries in NTFS order.
SubFolderListing ListSubFolder(FolderSource& source, const HeldFolder& parent,
                               const std::string& name);

// The sub-folders that helper threads list ahead of the walking thread. The walk takes every
// listing in its own order, whenever it was made, so what it finds cannot depend on the helpers.
// Published sub-folders are taken first in walk order: the last published first, and each folder
// publishes its sub-folders in reverse, deeper folders after those of the folders above.
struct ReadAhead {
    FolderSource& source;
    std::size_t mostListedAhead;
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<SubFolder*> published;  // the last is the first in walk order
    std::size_t listedAhead = 0;        // taken by helpers, not yet by the walk
    bool over = false;
    std::vector<std::thread> helpers;

    ReadAhead(FolderSource& source, std::size_t mostListedAhead, std::size_t helperCount);
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;
    // Stops the helpers and waits for them: no sub-folder is touched after it.
    ~ReadAhead();
};

// Offers the sub-folders to the helpers, if there are any; they stay where they are until the
// walk takes them or withdraws them.
void Publish(ReadAhead& readAhead, std::vector<SubFolder>& subFolders);

// The listing of the sub-folder, waiting for the helper that lists it, or listed here.
SubFolderListing TakeListing(ReadAhead& readAhead, SubFolder& subFolder);

// Takes the sub-folders [first, end) back from the helpers, waiting for any that one lists: their
// parent is let go or given up. Listings made stay with them.
void Withdraw(ReadAhead& readAhead, SubFolder* first, SubFolder* end);

}  // namespace tamrivo
