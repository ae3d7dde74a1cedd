#include "scan/ReadAhead.h"

#include <algorithm>

#include "scan/NtfsOrder.h"

namespace tamrivo {
namespace {

// Lists the published sub-folders, earliest in walk order first, while the walk has fewer than
// mostListedAhead of them waiting, until the read-ahead is over.
void ListAhead(ReadAhead& readAhead) {
    std::unique_lock<std::mutex> lock(readAhead.mutex);
    while (true) {
        readAhead.changed.wait(lock, [&readAhead] {
            return readAhead.over || (!readAhead.published.empty() &&
                                      readAhead.listedAhead < readAhead.mostListedAhead);
        });
        if (readAhead.over) {
            return;
        }
        SubFolder& subFolder = *readAhead.published.back();
        readAhead.published.pop_back();
        subFolder.state = ListingState::Listing;
        ++readAhead.listedAhead;
        lock.unlock();
        try {
            subFolder.listing = ListSubFolder(readAhead.source, *subFolder.parent, *subFolder.name);
        } catch (...) {
            subFolder.listing.failure = std::current_exception();
        }
        lock.lock();
        subFolder.listed = true;
        subFolder.state = ListingState::ListedAhead;
        readAhead.changed.notify_all();
    }
}

// Makes the sub-folder the walk's own; the lock is held.
void TakeBack(ReadAhead& readAhead, std::unique_lock<std::mutex>& lock, SubFolder& subFolder) {
    readAhead.changed.wait(lock, [&subFolder] { return subFolder.state != ListingState::Listing; });
    if (subFolder.state == ListingState::Published) {
        auto& published = readAhead.published;
        published.erase(std::find(published.begin(), published.end(), &subFolder));
    } else if (subFolder.state == ListingState::ListedAhead) {
        --readAhead.listedAhead;
        readAhead.changed.notify_all();
    }
    subFolder.state = ListingState::Walks;
}

}  // namespace

SubFolderListing ListSubFolder(FolderSource& source, const HeldFolder& parent,
                               const std::string& name) {
    SubFolderListing listing;
    listing.opening = source.OpenSubFolder(parent, name, listing.folder, listing.error);
    if (listing.opening == SubFolderOpening::Opened) {
        listing.error = source.List(listing.folder, listing.entries);
        SortInNtfsOrder(listing.entries);
    }
    return listing;
}

ReadAhead::ReadAhead(FolderSource& source, std::size_t mostListedAhead, std::size_t helperCount)
    : source(source), mostListedAhead(mostListedAhead) {
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
    changed.notify_all();
    for (std::thread& helper : helpers) {
        helper.join();
    }
}

void Publish(ReadAhead& readAhead, std::vector<SubFolder>& subFolders) {
    if (readAhead.helpers.empty() || subFolders.empty()) {
        return;
    }
    {
        const std::lock_guard<std::mutex> lock(readAhead.mutex);
        for (auto subFolder = subFolders.rbegin(); subFolder != subFolders.rend(); ++subFolder) {
            subFolder->state = ListingState::Published;
            readAhead.published.push_back(&*subFolder);
        }
    }
    readAhead.changed.notify_all();
}

SubFolderListing TakeListing(ReadAhead& readAhead, SubFolder& subFolder) {
    if (!readAhead.helpers.empty()) {
        std::unique_lock<std::mutex> lock(readAhead.mutex);
        TakeBack(readAhead, lock, subFolder);
    }
    if (subFolder.listing.failure) {
        std::rethrow_exception(subFolder.listing.failure);
    }
    if (!subFolder.listed) {
        return ListSubFolder(readAhead.source, *subFolder.parent, *subFolder.name);
    }
    return std::move(subFolder.listing);
}

void Withdraw(ReadAhead& readAhead, SubFolder* first, SubFolder* end) {
    if (readAhead.helpers.empty()) {
        return;
    }
    std::unique_lock<std::mutex> lock(readAhead.mutex);
    for (SubFolder* subFolder = first; subFolder != end; ++subFolder) {
        TakeBack(readAhead, lock, *subFolder);
    }
}

}  // namespace tamrivo
