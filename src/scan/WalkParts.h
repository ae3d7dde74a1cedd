#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <limits>
#include <mutex>
#include <string>
#include <vector>

#include "model/SourceInventory.h"
#include "platform/FolderListing.h"

namespace tamrivo {

// How far a part's own findings reach: the sizes of its lists, those of the inventory in the
// order of AllItemKinds.
struct FindingSizes {
    std::array<std::size_t, AllItemKinds.size()> files{};
    std::size_t folders = 0;
    std::size_t errors = 0;
};

// A point in a part's findings where those of another part belong, as one walk would find them.
struct PartSplice {
    FindingSizes at;
    std::size_t part;
};

// A folder with everything below it that one thread walks, and what it found there. The parts of
// one walk are cut where threads wait for work, so they differ from run to run; put together they
// are always the findings of one walk in order.
struct WalkPart {
    FolderChain chain;  // the part's first folder, held open
    std::string firstFolderPath;
    std::vector<FolderEntry> listedEntries;  // the first folder's entries, if already listed
    bool isRoot = false;                     // its first folder is the walk's root
    SourceInventory inventory;
    FolderList folders;
    std::string errors;  // the lines that report access errors
    std::vector<PartSplice> splices;
};

// What the threads of one walk share.
struct WalkShare {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<WalkPart> parts;        // the root's first; elements never move
    std::vector<std::size_t> waiting;  // the parts no thread has taken
    std::size_t walking = 0;           // threads walking a part
    std::exception_ptr failure;        // what ended a part early; no part is taken after it
    std::size_t foldersHeldPerChain = std::numeric_limits<std::size_t>::max();
    // Read without the lock, to decide whether to hand off work.
    std::atomic<std::size_t> idleThreads{0};
    std::atomic<std::size_t> waitingParts{0};
};

// Waits for a part to walk; null when the walk is over: no part is waiting and no thread walks
// one that could hand one off, or a part failed.
WalkPart* TakePart(WalkShare& share);

// Ends the walk of a part taken with TakePart.
void FinishPart(WalkShare& share);

// Ends the walk of a part with the failure that stopped it; no part is taken after it.
void GiveUp(WalkShare& share, std::exception_ptr failure);

// True when threads wait for work that no part waiting gives them.
bool ThreadsWait(const WalkShare& share);

// Adds a part for a waiting thread: the folder held by chain, with the path firstFolderPath, and
// all below it. Gives the part's number.
std::size_t HandOut(WalkShare& share, FolderChain&& chain, std::string&& firstFolderPath);

// Notes that the findings of the part numbered handedOff belong at this point of part's own.
void Splice(WalkPart& part, std::size_t handedOff);

// Appends the findings of all parts, in the order of one walk, starting from the first part;
// frees each part's lists as it goes.
void GatherParts(std::deque<WalkPart>& parts, SourceInventory& inventory, FolderList& folders,
                 std::string& errors);

}  // namespace tamrivo
