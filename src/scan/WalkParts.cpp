#include "scan/WalkParts.h"

#include <iterator>

namespace tamrivo {
namespace {

FindingSizes SizesOf(const WalkPart& part) {
    FindingSizes sizes;
    for (std::size_t kind = 0; kind < AllItemKinds.size(); ++kind) {
        sizes.files[kind] = ListOfKind(part.inventory, AllItemKinds[kind]).size();
    }
    sizes.folders = part.folders.size();
    sizes.errors = part.errors.size();
    return sizes;
}

// Moves the entries [taken, upTo) of from to the end of into; taken becomes upTo. A whole list
// moves into an empty one without touching its entries.
template <typename List>
void MoveFindings(List& from, std::size_t& taken, std::size_t upTo, List& into) {
    if (taken == upTo) {
        return;
    }
    if (into.empty() && taken == 0 && upTo == from.size()) {
        into.swap(from);
    } else {
        into.insert(into.end(), std::make_move_iterator(from.begin() + taken),
                    std::make_move_iterator(from.begin() + upTo));
    }
    taken = upTo;
}

// Where the gathering is in one part: the next splice, how far its findings are taken and where
// they end (noted before any is taken: a list moved whole is left empty).
struct GatherPlace {
    std::size_t part;
    std::size_t nextSplice;
    FindingSizes taken;
    FindingSizes end;
};

GatherPlace StartGathering(const std::deque<WalkPart>& parts, std::size_t part) {
    return {part, 0, {}, SizesOf(parts[part])};
}

// The findings of a part up to upTo, moved into the gathered lists.
void MoveFindingsUpTo(WalkPart& part, FindingSizes& taken, const FindingSizes& upTo,
                      SourceInventory& inventory, FolderList& folders, std::string& errors) {
    for (std::size_t kind = 0; kind < AllItemKinds.size(); ++kind) {
        MoveFindings(ListOfKind(part.inventory, AllItemKinds[kind]), taken.files[kind],
                     upTo.files[kind], ListOfKind(inventory, AllItemKinds[kind]));
    }
    MoveFindings(part.folders, taken.folders, upTo.folders, folders);
    MoveFindings(part.errors, taken.errors, upTo.errors, errors);
}

}  // namespace

WalkPart* TakePart(WalkShare& share) {
    std::unique_lock<std::mutex> lock(share.mutex);
    ++share.idleThreads;
    share.changed.wait(
        lock, [&share] { return !share.waiting.empty() || share.walking == 0 || share.failure; });
    --share.idleThreads;
    if (share.waiting.empty() || share.failure) {
        // Wakes the other waiting threads: they find the same.
        share.changed.notify_all();
        return nullptr;
    }
    const std::size_t part = share.waiting.back();
    share.waiting.pop_back();
    --share.waitingParts;
    ++share.walking;
    return &share.parts[part];
}

void FinishPart(WalkShare& share) {
    const std::lock_guard<std::mutex> lock(share.mutex);
    if (--share.walking == 0) {
        share.changed.notify_all();
    }
}

void GiveUp(WalkShare& share, std::exception_ptr failure) {
    const std::lock_guard<std::mutex> lock(share.mutex);
    if (!share.failure) {
        share.failure = std::move(failure);
    }
}

bool ThreadsWait(const WalkShare& share) {
    return share.idleThreads.load(std::memory_order_relaxed) >
           share.waitingParts.load(std::memory_order_relaxed);
}

std::size_t HandOut(WalkShare& share, FolderChain&& chain, std::string&& firstFolderPath) {
    const std::lock_guard<std::mutex> lock(share.mutex);
    WalkPart& part = share.parts.emplace_back();
    part.chain.folders.swap(chain.folders);
    part.chain.mostHeld = share.foldersHeldPerChain;
    part.firstFolderPath = std::move(firstFolderPath);
    const std::size_t number = share.parts.size() - 1;
    share.waiting.push_back(number);
    ++share.waitingParts;
    share.changed.notify_one();
    return number;
}

void Splice(WalkPart& part, std::size_t handedOff) {
    part.splices.push_back({SizesOf(part), handedOff});
}

void GatherParts(std::deque<WalkPart>& parts, SourceInventory& inventory, FolderList& folders,
                 std::string& errors) {
    if (parts.size() > 1) {
        FindingSizes total;
        for (const WalkPart& part : parts) {
            const FindingSizes sizes = SizesOf(part);
            for (std::size_t kind = 0; kind < AllItemKinds.size(); ++kind) {
                total.files[kind] += sizes.files[kind];
            }
            total.folders += sizes.folders;
            total.errors += sizes.errors;
        }
        for (std::size_t kind = 0; kind < AllItemKinds.size(); ++kind) {
            ListOfKind(inventory, AllItemKinds[kind]).reserve(total.files[kind]);
        }
        folders.reserve(total.folders);
        errors.reserve(total.errors);
    }
    // A part's findings up to each of its splices, then the spliced part's, then the rest.
    std::vector<GatherPlace> places = {StartGathering(parts, 0)};
    while (!places.empty()) {
        GatherPlace& place = places.back();
        WalkPart& part = parts[place.part];
        if (place.nextSplice < part.splices.size()) {
            const PartSplice& splice = part.splices[place.nextSplice++];
            MoveFindingsUpTo(part, place.taken, splice.at, inventory, folders, errors);
            places.push_back(StartGathering(parts, splice.part));
            continue;
        }
        MoveFindingsUpTo(part, place.taken, place.end, inventory, folders, errors);
        part.inventory = SourceInventory();
        part.folders = FolderList();
        part.errors = std::string();
        places.pop_back();
    }
}

}  // namespace tamrivo
