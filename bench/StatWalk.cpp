// The floor of a walk that makes one status query per entry: readdir, then fstatat following
// links relative to the open folder, entering real folders only. Nothing else is done, so its
// time is what any such walk costs at least; bench/run.sh prints it beside Tamrivo's.
//
//   StatWalk <root>              one thread, depth first; prints the number of entries met
//   StatWalk --threads=N <root>  the same work spread over N threads through a shared stack of
//                                open folders: the floor of a walk on N cores
//   StatWalk --keep ...          besides, keeps each entry's path below the root until the end,
//                                each folder's entries sorted by name: the floor of a walk that
//                                gives what it found, in order (what a walk's caller needs)
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

bool keep = false;
// With --keep, the paths each thread found, kept until the end as a walk's results are.
thread_local std::vector<std::string> kept;

bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// An open folder and its path below the root (kept only with --keep).
using Folder = std::pair<int, std::string>;

// Lists the open folder (taking its descriptor over), queries each entry and hands each real
// sub-folder, opened inside it, to enter; returns the number of entries.
template <typename Enter>
unsigned long ListFolder(const Folder& folder, const Enter& enter) {
    const int descriptor = folder.first;
    DIR* const listing = fdopendir(descriptor);
    if (listing == nullptr) {
        close(descriptor);
        return 0;
    }
    unsigned long count = 0;
    const std::size_t firstKept = kept.size();
    while (const dirent* const entry = readdir(listing)) {
        if (IsDotOrDotDot(entry->d_name)) {
            continue;
        }
        ++count;
        const std::string path = keep ? folder.second + '\\' + entry->d_name : std::string();
        struct stat status;
        const bool isFolder =
            fstatat(descriptor, entry->d_name, &status, 0) == 0 && S_ISDIR(status.st_mode);
        if (isFolder && entry->d_type == DT_DIR) {
            const int child = openat(descriptor, entry->d_name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (child >= 0) {
                enter(Folder(child, path));
            }
        }
        if (keep) {
            kept.push_back(path);
        }
    }
    closedir(listing);
    std::sort(kept.begin() + static_cast<std::ptrdiff_t>(firstKept), kept.end());
    return count;
}

unsigned long WalkFolder(const Folder& folder) {
    unsigned long count = 0;
    count += ListFolder(folder, [&count](const Folder& child) { count += WalkFolder(child); });
    return count;
}

// The folders not yet listed, shared by the threads of a parallel walk.
struct SharedStack {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Folder> folders;
    std::size_t busy = 0;  // threads listing a folder, which may push more
    std::atomic<unsigned long> count{0};
};

void WalkShared(SharedStack& shared) {
    std::unique_lock<std::mutex> lock(shared.mutex);
    while (true) {
        shared.changed.wait(lock, [&] { return !shared.folders.empty() || shared.busy == 0; });
        if (shared.folders.empty()) {
            shared.changed.notify_all();
            return;
        }
        const Folder folder = std::move(shared.folders.back());
        shared.folders.pop_back();
        ++shared.busy;
        lock.unlock();
        shared.count += ListFolder(folder, [&shared](const Folder& child) {
            const std::lock_guard<std::mutex> guard(shared.mutex);
            shared.folders.push_back(child);
            shared.changed.notify_one();
        });
        lock.lock();
        --shared.busy;
    }
}

}  // namespace

int main(int argc, char** argv) {
    int threads = 0;
    int argument = 1;
    for (; argument < argc - 1; ++argument) {
        if (std::strcmp(argv[argument], "--keep") == 0) {
            keep = true;
        } else if (std::strncmp(argv[argument], "--threads=", 10) == 0 &&
                   std::atoi(argv[argument] + 10) > 0) {
            threads = std::atoi(argv[argument] + 10);
        } else {
            break;
        }
    }
    if (argument != argc - 1) {
        std::fprintf(stderr, "usage: StatWalk [--keep] [--threads=N] <root>\n");
        return 2;
    }
    const char* const path = argv[argument];
    const int root = open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (root < 0) {
        std::fprintf(stderr, "StatWalk: %s: %s\n", path, std::strerror(errno));
        return 1;
    }
    if (threads == 0) {
        std::printf("%lu\n", WalkFolder(Folder(root, std::string())));
        return 0;
    }
    SharedStack shared;
    shared.folders.emplace_back(root, std::string());
    std::vector<std::thread> walkers;
    for (int thread = 0; thread < threads; ++thread) {
        walkers.emplace_back(WalkShared, std::ref(shared));
    }
    for (std::thread& walker : walkers) {
        walker.join();
    }
    std::printf("%lu\n", shared.count.load());
    return 0;
}
