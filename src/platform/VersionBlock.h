#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/VersionInfo.h"

namespace tamrivo {

// Where the system keeps no version data in a program file, the build places this block in the
// executable: the marker, the fixed information and one string table, in the machine's byte
// order. The string table holds NUL-ended texts: its name (a language and code page such as
// "040904b0"), then each key and its value, then an empty text.

inline constexpr std::array<char, 16> kVersionBlockMarker = {
    '#', 'T', 'a', 'm', 'r', 'i', 'v', 'o', 'V', 'e', 'r', 's', 'i', 'o', 'n', '#'};

// The start of the block, up to its string table.
struct VersionBlockHead {
    std::array<char, 16> marker;
    FixedFileInfo fixed;
    std::uint32_t stringTableSize;
};
static_assert(sizeof(VersionBlockHead) == 16 + 13 * 4 + 4, "the block has no padding");

// The whole block for a string table of N bytes.
template <std::size_t N>
struct VersionBlock {
    VersionBlockHead head;
    std::array<char, N> stringTable;
};

// The block with the given fixed information and string table, at compile time if need be.
template <std::size_t N>
constexpr VersionBlock<N> MakeVersionBlock(const FixedFileInfo& fixed, const char (&table)[N]) {
    VersionBlock<N> block{{kVersionBlockMarker, fixed, static_cast<std::uint32_t>(N)}, {}};
    for (std::size_t i = 0; i < N; ++i) {
        block.stringTable[i] = table[i];
    }
    return block;
}

}  // namespace tamrivo
