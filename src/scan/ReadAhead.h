#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/FolderListing.h"
#include "scan/FolderSource.h"
#include "scan/SourceTreeWalk.h"

namespace tamrivo {

// What the walk does with an entry of a folder, decided once when the folder is listed.
enum class EntryFate : unsigned char {
    Walked,   // listed, classified and, if a folder, entered
    Unfit,    // its name cannot stand in the new files: reported
    LeftOut,  // the caller leaves it out: nothing at all
};

// Who has a folder's listing.
enum class ListingState {
    Published,    // waits in the read-ahead; a helper may take it
    Listing,      // a helper lists it
    ListedAhead,  // a helper listed it: the walk finds it ready
    Walks,        // the walking thread's: it takes the listing, or lists the folder itself
};

// A folder that the walk enters: found in its parent's listing, then listed by a helper ahead of
// the walk or by the walking thread when it gets there.
struct WalkedFolder {
    const WalkedFolder* parent = nullptr;  // none for the root
    std::string name;                      // as its parent lists it
    std::string windowsPath;
    std::vector<std::uint32_t> place;  // its entry's place in each folder from the root down

    ListingState state = ListingState::Walks;
    bool listed = false;
    SubFolderOpening opening = SubFolderOpening::Failed;
    boost::system::error_code error;   // why it was not opened, or what ended its listing early
    std::exception_ptr failure;        // an exception that stopped a helper listing it
    HeldFolder held;                   // open from its listing until the walk lets go of it
    FolderIdentity identity;           // noted when it is let go, to recognise it again
    std::vector<FolderEntry> entries;  // in NTFS order
    std::vector<EntryFate> fates;
    std::vector<WalkedFolder> subFolders;  // the entries entered, in their order
};

// What listing a folder needs besides the folder.
struct ListingRules {
    FolderSource& source;
    const LeftOutOfWalk& leftOut;
    std::size_t rootPrefix;  // the root and the separator after it, in every entry's path
};

// True for an entry that the walk enters as a folder: a real folder (not a link) whose status
// was read and that is walked.
bool IsEnteredAsFolder(const FolderEntry& entry, EntryFate fate);

// Sets path to the Windows path of an entry of folder: the folder, a backslash, the name. Only the
// root may end in a separator of its own (C:\, C:, /); a folder below it whose name ends in a colon
// still gets its backslash.
void JoinWindowsPath(const std::string& folder, bool isRoot, const std::string& name,
                     std::string& path);

// Opens the folder (the root by its path, any other inside its parent, refusing a link), lists
// its entries in NTFS order, decides each one's fate and finds the sub-folders to enter.
void ListWalkedFolder(const ListingRules& rules, WalkedFolder& folder);

// True when left comes before right in walk order.
struct EarlierInWalk {
    bool operator()(const WalkedFolder* left, const WalkedFolder* right) const {
        return left->place < right->place;
    }
};

// The folders that helper threads list ahead of the walking thread: those found in a listing, the
// earliest in walk order first, each listing publishing the sub-folders it finds, so that the
// helpers keep ahead of the walk. The walk takes each listing by its folder, whenever it was made,
// so what it finds cannot depend on the helpers.
struct ReadAhead {
    ListingRules rules;
    std::size_t mostListedAhead;
    std::mutex mutex;
    // Each side is woken only when there is something for it: waking costs more than a listing.
    std::condition_variable workForHelpers;
    std::condition_variable listingForWalk;
    std::set<WalkedFolder*, EarlierInWalk> published;
    std::size_t listedAhead = 0;  // taken by helpers, not yet by the walk
    std::size_t idleHelpers = 0;
    const WalkedFolder* awaited = nullptr;  // what the walk waits for
    bool over = false;
    std::vector<std::thread> helpers;

    ReadAhead(const ListingRules& rules, std::size_t mostListedAhead, std::size_t helperCount);
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;
    // Stops the helpers and waits for them: no folder is touched after it.
    ~ReadAhead();
};

// Lists the folder unless a helper did, and makes it the walk's own; its sub-folders are
// published for the helpers.
void TakeListing(ReadAhead& readAhead, WalkedFolder& folder);

// Takes the folders [first, end) back from the helpers, with everything the helpers found below
// them, waiting for any that one lists. Listings made stay with their folders.
void Withdraw(ReadAhead& readAhead, WalkedFolder* first, WalkedFolder* end);

}  // namespace tamrivo
