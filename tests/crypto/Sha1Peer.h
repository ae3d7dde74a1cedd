#pragma once

#include <string>
#include <vector>

namespace tamrivo::testing {

// The digests of the messages, in lowercase hexadecimal, in order, as an implementation of SHA-1
// that is not ours gives them: coreutils' sha1sum on POSIX systems, the system's own (CNG) on
// Windows.
std::vector<std::string> PeerSha1Digests(const std::vector<std::string>& messages);

// A string of the given byte values.
std::string Bytes(const std::vector<int>& values);

}  // namespace tamrivo::testing
