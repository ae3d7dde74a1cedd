#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/FolderListing.h"

namespace tamrivo {

// The order in which Windows lists a folder on NTFS: names compared as the UTF-16 code units that
// NTFS holds them in, each folded to upper case by NTFS's simple mapping; names equal in that
// comparison then by their plain bytes. Names are UTF-8; a byte that is no part of a UTF-8
// character (possible off Windows) counts as a code unit of its own between 0xDC80 and 0xDCFF.
bool NtfsNameLess(const std::string& left, const std::string& right);

// A number that orders names as NtfsNameLess does wherever the numbers of two names differ: the
// name's first eight bytes upper-cased, the first the most significant. Zero, which no name has
// otherwise, when a byte beyond ASCII stands among them: such names need NtfsNameLess itself.
std::uint64_t NtfsOrderKey(const std::string& name);

// Puts a folder's entries in the order in which NTFS lists them.
void SortInNtfsOrder(std::vector<FolderEntry>& entries);

}  // namespace tamrivo
