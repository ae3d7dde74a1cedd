#include "crypto/HashSha1.h"

namespace mz::crypto::stream::hash {
namespace {

std::uint32_t RotateLeft(std::uint32_t value, unsigned count) {
    return (value << count) | (value >> (32 - count));
}

}  // namespace

void hash_sha1::reset() {
    fill_ = 0;
    total_ = 0;
    block_.fill(0);
    state_ = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
}

void hash_sha1::process_block() {
    std::uint32_t schedule[80];
    for (std::size_t t = 0; t < 16; ++t) {
        schedule[t] = std::uint32_t{block_[4 * t]} << 24 | std::uint32_t{block_[4 * t + 1]} << 16 |
                      std::uint32_t{block_[4 * t + 2]} << 8 | std::uint32_t{block_[4 * t + 3]};
    }
    for (std::size_t t = 16; t < 80; ++t) {
        schedule[t] =
            RotateLeft(schedule[t - 3] ^ schedule[t - 8] ^ schedule[t - 14] ^ schedule[t - 16], 1);
    }

    std::uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3], e = state_[4];
    for (std::size_t t = 0; t < 80; ++t) {
        std::uint32_t f = 0;
        std::uint32_t k = 0;
        if (t < 20) {
            f = (b & c) | (~b & d);
            k = 0x5A827999;
        } else if (t < 40) {
            f = b ^ c ^ d;
            k = 0x6ED9EBA1;
        } else if (t < 60) {
            f = (b & c) | (b & d) | (c & d);
            k = 0x8F1BBCDC;
        } else {
            f = b ^ c ^ d;
            k = 0xCA62C1D6;
        }
        const std::uint32_t next = RotateLeft(a, 5) + f + e + k + schedule[t];
        e = d;
        d = c;
        c = RotateLeft(b, 30);
        b = a;
        a = next;
    }
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
    state_[4] += e;

    block_.fill(0);
    fill_ = 0;
}

}  // namespace mz::crypto::stream::hash
