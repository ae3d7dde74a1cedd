#include "scan/WalkLimits.h"

#include <algorithm>

#include "platform/FolderListing.h"

namespace tamrivo {
namespace {

// Handles kept for the rest of the process: standard streams, the files of the run.
constexpr std::size_t kKeptFree = 16;
// Below this, the handles would be too few to share with folders listed ahead.
constexpr std::size_t kHandlesForThreads = 256;
// Folders listed ahead beyond this gain no time: the walking thread only has to find the next
// one ready.
constexpr std::size_t kMostListedAhead = 64;

}  // namespace

std::size_t WalkThreadCount() {
    if (HandleLimit() < kHandlesForThreads) {
        return 1;
    }
    return std::min<std::size_t>(ProcessorCount(), 4);
}

WalkLimits LimitsForWalk(std::size_t threads, std::size_t handleLimit) {
    const std::size_t available = handleLimit > kKeptFree ? handleLimit - kKeptFree : 0;
    WalkLimits limits;
    if (threads > 1) {
        limits.helpers = threads;
        limits.mostListedAhead = std::clamp<std::size_t>(available / 4, 1, kMostListedAhead);
    }
    limits.mostHeld =
        std::max<std::size_t>(2, available - std::min(available, limits.mostListedAhead));
    return limits;
}

}  // namespace tamrivo
