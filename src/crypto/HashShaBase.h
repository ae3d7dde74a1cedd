#pragma once

#include <cstddef>

#include "crypto/HashBase.h"

namespace mz::crypto::stream::hash {

// The SHA family's layer: the padding with a big-endian message length of LengthBits, and the
// digest as the state's words, most significant byte first.
template <std::size_t DigestBits, std::size_t StateBits, typename Word, std::size_t BlockBytes,
          std::size_t LengthBits>
class hash_sha_base : public hash_base<DigestBits, StateBits, Word, BlockBytes> {
    using base = hash_base<DigestBits, StateBits, Word, BlockBytes>;
    static constexpr std::size_t kLengthBytes = LengthBits / 8;
    static_assert(LengthBits % 8 == 0 && kLengthBytes >= 8 && kLengthBytes < BlockBytes);

  public:
    using typename base::result_type;

    // Appends 0x80 and the length in bits; the zeros between them are already in the block,
    // which reset and every compression leave zeroed.
    void pad() override {
        this->block_[this->fill_] = 0x80;
        ++this->fill_;
        if (this->fill_ > BlockBytes - kLengthBytes) {
            this->process_block();
        }
        const std::uint64_t bits = this->total_ * 8;
        for (std::size_t i = 0; i < 8; ++i) {
            this->block_[BlockBytes - 1 - i] = static_cast<unsigned char>(bits >> (8 * i));
        }
        this->process_block();
    }

    // The state's words, each most significant byte first, as many bytes as the digest holds.
    result_type digest() const override {
        constexpr std::size_t kWordBytes = base::kWordBits / 8;
        result_type bytes{};
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const std::size_t shift = base::kWordBits - 8 * (i % kWordBytes + 1);
            bytes[i] = static_cast<unsigned char>(this->state_[i / kWordBytes] >> shift);
        }
        return bytes;
    }
};

}  // namespace mz::crypto::stream::hash
