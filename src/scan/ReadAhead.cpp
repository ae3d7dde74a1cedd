#include "scan/ReadAhead.h"

#include <algorithm>

#include "scan/EntryNames.h"
#include "scan/NtfsOrder.h"
#include "scan/PathRules.h"

namespace tamrivo {
namespace {

EntryFate FateOf(const ListingRules& rules, const FolderEntry& entry, const std::string& path) {
    if (!WhyNameIsLeftOut(entry.name).empty()) {
        return EntryFate::Unfit;
    }
    if (rules.leftOut &&
        rules.leftOut(std::string_view(path).substr(rules.rootPrefix), entry.isFolder)) {
        return EntryFate::LeftOut;
    }
    return EntryFate::Walked;
}

std::size_t HalfTheListings(const ReadAhead& readAhead) {
    return std::max<std::size_t>(1, readAhead.mostListedAhead / 2);
}

// Offers the folder's sub-folders to the helpers; the lock is held.
void Publish(ReadAhead& readAhead, WalkedFolder& folder) {
    for (WalkedFolder& subFolder : folder.subFolders) {
        subFolder.state = ListingState::Published;
        readAhead.published.insert(&subFolder);
    }
    if (!folder.subFolders.empty() && readAhead.idleHelpers > 0) {
        readAhead.workForHelpers.notify_all();
    }
}

// Lists the earliest published folder in walk order, as a helper; the lock is held, but not
// while listing.
void ListEarliestPublished(ReadAhead& readAhead, std::unique_lock<std::mutex>& lock) {
    WalkedFolder& folder = **readAhead.published.begin();
    readAhead.published.erase(readAhead.published.begin());
    folder.state = ListingState::Listing;
    ++readAhead.listedAhead;
    lock.unlock();
    try {
        ListWalkedFolder(readAhead.rules, folder);
    } catch (...) {
        folder.failure = std::current_exception();
    }
    lock.lock();
    folder.state = ListingState::ListedAhead;
    if (!folder.failure) {
        Publish(readAhead, folder);
    }
    if (readAhead.awaited == &folder) {
        readAhead.listingForWalk.notify_one();
    }
}

// Lists published folders until the read-ahead is over. A helper that finds mostListedAhead
// listings waiting for the walk rests until half of them are taken.
void ListAhead(ReadAhead& readAhead) {
    std::unique_lock<std::mutex> lock(readAhead.mutex);
    std::size_t resumeBelow = readAhead.mostListedAhead;
    while (true) {
        ++readAhead.idleHelpers;
        readAhead.workForHelpers.wait(lock, [&] {
            return readAhead.over ||
                   (!readAhead.published.empty() && readAhead.listedAhead < resumeBelow);
        });
        --readAhead.idleHelpers;
        if (readAhead.over) {
            return;
        }
        ListEarliestPublished(readAhead, lock);
        const bool full = readAhead.listedAhead >= readAhead.mostListedAhead;
        resumeBelow = full ? HalfTheListings(readAhead) : readAhead.mostListedAhead;
    }
}

// Makes the folder the walk's own; the lock is held.
void TakeBack(ReadAhead& readAhead, std::unique_lock<std::mutex>& lock, WalkedFolder& folder) {
    readAhead.awaited = &folder;
    readAhead.listingForWalk.wait(lock,
                                  [&folder] { return folder.state != ListingState::Listing; });
    readAhead.awaited = nullptr;
    const ListingState state = folder.state;
    folder.state = ListingState::Walks;
    if (state == ListingState::Published) {
        readAhead.published.erase(&folder);
    } else if (state == ListingState::ListedAhead) {
        // Helpers that found the read-ahead full rest until it is half empty.
        if (--readAhead.listedAhead + 1 == HalfTheListings(readAhead) &&
            readAhead.idleHelpers > 0) {
            readAhead.workForHelpers.notify_all();
        }
    }
}

}  // namespace

bool IsEnteredAsFolder(const FolderEntry& entry, EntryFate fate) {
    return fate == EntryFate::Walked && entry.isRealFolder && !entry.statusError;
}

void JoinWindowsPath(const std::string& folder, bool isRoot, const std::string& name,
                     std::string& path) {
    const bool endsInSeparator =
        isRoot && !folder.empty() && (IsWindowsSeparator(folder.back()) || folder.back() == ':');
    path.assign(folder);
    if (!endsInSeparator) {
        path += '\\';
    }
    path += name;
}

void ListWalkedFolder(const ListingRules& rules, WalkedFolder& folder) {
    if (folder.parent == nullptr) {
        folder.error = rules.source.OpenRoot(folder.windowsPath, folder.held);
        folder.opening = folder.error ? SubFolderOpening::Failed : SubFolderOpening::Opened;
    } else {
        folder.opening =
            rules.source.OpenSubFolder(folder.parent->held, folder.name, folder.held, folder.error);
    }
    folder.listed = true;
    if (folder.opening != SubFolderOpening::Opened) {
        return;
    }
    folder.error = rules.source.List(folder.held, folder.entries);
    SortInNtfsOrder(folder.entries);
    folder.fates.reserve(folder.entries.size());
    std::string path;
    for (std::size_t index = 0; index < folder.entries.size(); ++index) {
        const FolderEntry& entry = folder.entries[index];
        // The path only where it is asked for: the walking thread joins every entry's anyway.
        if (rules.leftOut || (entry.isRealFolder && !entry.statusError)) {
            JoinWindowsPath(folder.windowsPath, folder.parent == nullptr, entry.name, path);
        }
        folder.fates.push_back(FateOf(rules, entry, path));
        if (IsEnteredAsFolder(entry, folder.fates.back())) {
            WalkedFolder& subFolder = folder.subFolders.emplace_back();
            subFolder.parent = &folder;
            subFolder.name = entry.name;
            subFolder.windowsPath = path;
            subFolder.place = folder.place;
            subFolder.place.push_back(static_cast<std::uint32_t>(index));
        }
    }
}

ReadAhead::ReadAhead(const ListingRules& rules, std::size_t mostListedAhead,
                     std::size_t helperCount)
    : rules(rules), mostListedAhead(mostListedAhead) {
    try {
        while (helpers.size() < helperCount) {
            helpers.emplace_back(ListAhead, std::ref(*this));
        }
    } catch (const std::exception&) {
        // The helpers that could be started list ahead; the walk needs none of them.
    }
}

ReadAhead::~ReadAhead() {
    {
        const std::lock_guard<std::mutex> lock(mutex);
        over = true;
    }
    workForHelpers.notify_all();
    for (std::thread& helper : helpers) {
        helper.join();
    }
}

void TakeListing(ReadAhead& readAhead, WalkedFolder& folder) {
    std::unique_lock<std::mutex> lock(readAhead.mutex, std::defer_lock);
    if (!readAhead.helpers.empty()) {
        lock.lock();
        // While a helper lists it, the walk lists what comes next rather than sleep, within the
        // listings ahead that the handles allow.
        while (folder.state == ListingState::Listing && !readAhead.published.empty() &&
               readAhead.listedAhead < readAhead.mostListedAhead) {
            ListEarliestPublished(readAhead, lock);
        }
        TakeBack(readAhead, lock, folder);
        lock.unlock();
    }
    if (folder.failure) {
        std::rethrow_exception(folder.failure);
    }
    if (!folder.listed) {
        ListWalkedFolder(readAhead.rules, folder);
        if (!readAhead.helpers.empty()) {
            lock.lock();
            Publish(readAhead, folder);
        }
    }
}

void Withdraw(ReadAhead& readAhead, WalkedFolder* first, WalkedFolder* end) {
    if (readAhead.helpers.empty()) {
        return;
    }
    std::unique_lock<std::mutex> lock(readAhead.mutex);
    std::vector<std::pair<WalkedFolder*, WalkedFolder*>> ranges = {{first, end}};
    while (!ranges.empty()) {
        const auto [from, to] = ranges.back();
        ranges.pop_back();
        for (WalkedFolder* folder = from; folder != to; ++folder) {
            TakeBack(readAhead, lock, *folder);
            if (folder->listed) {
                WalkedFolder* const below = folder->subFolders.data();
                ranges.emplace_back(below, below + folder->subFolders.size());
            }
        }
    }
}

}  // namespace tamrivo
