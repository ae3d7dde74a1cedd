// The floor of a walk that makes one status query per entry: readdir, then fstatat following
// links relative to the open folder, entering real folders only. Nothing else is done, so its
// time is what any such walk costs at least; bench/run.sh prints it beside Tamrivo's.
//
//   StatWalk <root>      prints the number of entries met
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Walks the open folder (taking its descriptor over) and returns the number of entries below it.
unsigned long WalkFolder(int descriptor) {
    DIR* const listing = fdopendir(descriptor);
    if (listing == nullptr) {
        close(descriptor);
        return 0;
    }
    unsigned long count = 0;
    while (const dirent* const entry = readdir(listing)) {
        if (IsDotOrDotDot(entry->d_name)) {
            continue;
        }
        ++count;
        struct stat status;
        const bool isFolder =
            fstatat(descriptor, entry->d_name, &status, 0) == 0 && S_ISDIR(status.st_mode);
        if (isFolder && entry->d_type == DT_DIR) {
            const int child = openat(descriptor, entry->d_name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (child >= 0) {
                count += WalkFolder(child);
            }
        }
    }
    closedir(listing);
    return count;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: StatWalk <root>\n");
        return 2;
    }
    const int root = open(argv[1], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (root < 0) {
        std::fprintf(stderr, "StatWalk: %s: %s\n", argv[1], std::strerror(errno));
        return 1;
    }
    std::printf("%lu\n", WalkFolder(root));
    return 0;
}
