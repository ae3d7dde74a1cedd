#pragma once

#include <cstdint>
#include <type_traits>

#include "crypto/HashShaBase.h"

namespace mz::crypto::stream::hash {

// The words of SHA-1 are unsigned int on every platform built for, which the class names spell.
static_assert(std::is_same_v<std::uint32_t, unsigned int>);

// SHA-1 (FIPS 180-4): a 160-bit digest of 32-bit words, 64-byte blocks, a 64-bit length.
class hash_sha1 final : public hash_sha_base<160, 160, std::uint32_t, 64, 64> {
  public:
    // Starts in the initial state.
    hash_sha1() { reset(); }

    // Empties the block and the counts and sets the standard's initial hash values.
    void reset() override;
    // The SHA-1 compression of the full block; then the block is zeroed and emptied.
    void process_block() override;
};

}  // namespace mz::crypto::stream::hash
