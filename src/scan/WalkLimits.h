#pragma once

#include <cstddef>

namespace tamrivo {

// How much of the process one walk may take.
struct WalkLimits {
    std::size_t helpers = 0;          // threads that list folders ahead of the walking one
    std::size_t mostListedAhead = 0;  // folders listed ahead and not yet walked, each held open
    std::size_t mostHeld = 2;         // folders the walking thread holds open at once, at least 2
};

// How many threads list folders for a walk: one per processor the process may run on, at most
// four, beside the thread that walks, which is mostly waiting for them (measured: on two cores,
// one helper gains nothing and two halve the walk). One, the walking thread alone, where there is
// one processor or the process may hold so few handles that folders listed ahead would crowd out
// the walk.
std::size_t WalkThreadCount();

// The limits of a walk whose folders threads threads list, in a process that may hold handleLimit
// handles: a few are kept for the rest of the process, a quarter of the others (at most 64) for the
// folders listed ahead, the rest for the walking thread's own folders.
WalkLimits LimitsForWalk(std::size_t threads, std::size_t handleLimit);

}  // namespace tamrivo
