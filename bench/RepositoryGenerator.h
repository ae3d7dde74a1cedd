#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tamrivo {

// The seed of the benchmark trees: one seed, so that every machine measures the same bytes.
inline constexpr std::uint32_t kBenchmarkSeed = 20240611;

// What a generated repository holds, counted while it is written.
struct RepositorySummary {
    std::size_t folders = 0;            // below Src, Prj included
    std::size_t excludedFolders = 0;    // folders below Src whose path holds an excluded marker
    std::size_t files = 0;              // below Src, the project and filters files not included
    std::size_t excludedFiles = 0;      // files below an excluded component folder
    std::size_t unknownKindFiles = 0;   // files of no known extension
    std::size_t maxDepth = 0;           // folders below Src on the way to the deepest folder
    std::size_t oneLineItems = 0;       // self-closing file items of the old project
    std::size_t itemsWithChildren = 0;  // file items of the old project written with metadata
    std::size_t missingItems = 0;       // file items naming files that are not in the tree
    std::size_t projectLines = 0;
    std::size_t filtersLines = 0;
};

// Writes a repository below root: a tree of about fileCount files in about fileCount / 10 folders
// under Src, and the old project Src\Prj\App.vcxproj with its filters file. The same seed and
// count give the same bytes. Refuses (throws) when root already holds a Src folder.
RepositorySummary GenerateRepository(const std::string& root, std::size_t fileCount,
                                     std::uint32_t seed = kBenchmarkSeed);

}  // namespace tamrivo
