#include "Sha1Peer.h"

namespace tamrivo::testing {

std::string Bytes(const std::vector<int>& values) {
    std::string bytes;
    for (const int value : values) {
        bytes += static_cast<char>(value);
    }
    return bytes;
}

}  // namespace tamrivo::testing
