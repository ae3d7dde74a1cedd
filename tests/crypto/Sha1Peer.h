#pragma once

#include <string>
#include <vector>

namespace tamrivo::testing {

// The digests that coreutils' sha1sum gives for the messages, in lowercase hexadecimal, in order.
std::vector<std::string> Sha1SumDigests(const std::vector<std::string>& messages);

// A string of the given byte values.
std::string Bytes(const std::vector<int>& values);

}  // namespace tamrivo::testing
