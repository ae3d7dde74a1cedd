#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>

#include "crypto/Stream.h"

namespace mz::crypto::stream::hash {

// A block hash: bytes gather in a block of BlockBytes, and each full block is compressed into a
// state of StateBits held in words of type Word; the digest is DigestBits long.
template <std::size_t DigestBits, std::size_t StateBits, typename Word, std::size_t BlockBytes>
class hash_base : public stream<std::array<unsigned char, DigestBits / 8>, void> {
  public:
    using result_type = std::array<unsigned char, DigestBits / 8>;

    // Copies the bytes into the block and compresses every block that fills up, so that fewer
    // than BlockBytes bytes wait when it returns.
    void update(const unsigned char* bytes, std::size_t count) override {
        while (count > 0) {
            const std::size_t taken =
                std::min<std::size_t>(count, static_cast<std::size_t>(BlockBytes - fill_));
            std::copy_n(bytes, taken, block_.data() + fill_);
            fill_ += taken;
            total_ += taken;
            bytes += taken;
            count -= taken;
            if (fill_ == BlockBytes) {
                process_block();
            }
        }
    }

    // pad, then digest.
    result_type finish() override {
        this->pad();
        return this->digest();
    }

    // Compresses the full block into the state, then zeroes the block and empties it.
    virtual void process_block() = 0;

    // The digest as lowercase hexadecimal text, each byte high four bits first; does not pad.
    std::string hex_digest() const {
        static constexpr char kDigits[] = "0123456789abcdef";
        std::string text;
        text.reserve(DigestBits / 4);
        for (const unsigned char byte : this->digest()) {
            text += kDigits[byte >> 4];
            text += kDigits[byte & 0x0F];
        }
        return text;
    }

  protected:
    static constexpr std::size_t kWordBits = std::numeric_limits<Word>::digits;
    static_assert(std::is_unsigned_v<Word> && StateBits % kWordBits == 0 && DigestBits % 8 == 0);

    std::uint64_t fill_ = 0;   // bytes waiting in the block; the rest of the block is zero
    std::uint64_t total_ = 0;  // bytes fed since the last reset
    std::array<unsigned char, BlockBytes> block_{};
    std::array<Word, StateBits / kWordBits> state_{};
};

}  // namespace mz::crypto::stream::hash
