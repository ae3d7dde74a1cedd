#include "crypto/HashSha1.h"

#include <array>
#include <cstddef>

namespace mz::crypto::stream::hash {
namespace {

std::uint32_t RotateLeft(std::uint32_t value, unsigned count) {
    return (value << count) | (value >> (32 - count));
}

// One round, written for names that rotate instead of values: e takes the new value of a, and b
// the new value of c; a, c and d stay as they are.
template <typename Mix>
void Round(std::uint32_t a, std::uint32_t& b, std::uint32_t c, std::uint32_t d, std::uint32_t& e,
           Mix mix, std::uint32_t constant, std::uint32_t word) {
    e += RotateLeft(a, 5) + mix(b, c, d) + constant + word;
    b = RotateLeft(b, 30);
}

// The message schedule's word for round t, kept in a ring of the last sixteen: the block's own
// words first, then each made from earlier ones. (Computed ahead as an array of eighty words, the
// schedule was vectorised into loads of words just stored, and hashing took twice as long.)
std::uint32_t ScheduleWord(std::array<std::uint32_t, 16>& ring, std::size_t t) {
    if (t >= 16) {
        ring[t % 16] = RotateLeft(
            ring[(t - 3) % 16] ^ ring[(t - 8) % 16] ^ ring[(t - 14) % 16] ^ ring[t % 16], 1);
    }
    return ring[t % 16];
}

// The twenty rounds from round first on, all with one function and constant; five at a time, so
// that the names come back to their places.
template <typename Mix>
void TwentyRounds(std::array<std::uint32_t, 5>& working, std::array<std::uint32_t, 16>& ring,
                  std::size_t first, Mix mix, std::uint32_t constant) {
    auto& [a, b, c, d, e] = working;
    for (std::size_t t = first; t < first + 20; t += 5) {
        Round(a, b, c, d, e, mix, constant, ScheduleWord(ring, t));
        Round(e, a, b, c, d, mix, constant, ScheduleWord(ring, t + 1));
        Round(d, e, a, b, c, mix, constant, ScheduleWord(ring, t + 2));
        Round(c, d, e, a, b, mix, constant, ScheduleWord(ring, t + 3));
        Round(b, c, d, e, a, mix, constant, ScheduleWord(ring, t + 4));
    }
}

constexpr auto kChoose = [](std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    return (b & c) | (~b & d);
};

constexpr auto kParity = [](std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    return b ^ c ^ d;
};

constexpr auto kMajority = [](std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    return (b & c) | (b & d) | (c & d);
};

}  // namespace

void hash_sha1::reset() {
    fill_ = 0;
    total_ = 0;
    block_.fill(0);
    state_ = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
}

void hash_sha1::process_block() {
    std::array<std::uint32_t, 16> ring;
    for (std::size_t t = 0; t < 16; ++t) {
        ring[t] = std::uint32_t{block_[4 * t]} << 24 | std::uint32_t{block_[4 * t + 1]} << 16 |
                  std::uint32_t{block_[4 * t + 2]} << 8 | std::uint32_t{block_[4 * t + 3]};
    }
    std::array<std::uint32_t, 5> working = state_;
    TwentyRounds(working, ring, 0, kChoose, 0x5A827999);
    TwentyRounds(working, ring, 20, kParity, 0x6ED9EBA1);
    TwentyRounds(working, ring, 40, kMajority, 0x8F1BBCDC);
    TwentyRounds(working, ring, 60, kParity, 0xCA62C1D6);
    for (std::size_t i = 0; i < state_.size(); ++i) {
        state_[i] += working[i];
    }

    block_.fill(0);
    fill_ = 0;
}

}  // namespace mz::crypto::stream::hash
