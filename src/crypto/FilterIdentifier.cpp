#include "crypto/FilterIdentifier.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <ctime>

#include "crypto/HashSha1.h"

namespace tamrivo {
namespace {

using mz::crypto::stream::hash::hash_sha1;

// Feeds the byteCount low bytes of value, least significant first.
void UpdateLittleEndian(hash_sha1& hash, std::uint64_t value, std::size_t byteCount) {
    std::array<unsigned char, 8> bytes{};
    for (std::size_t i = 0; i < byteCount; ++i) {
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    }
    hash.update(bytes.data(), byteCount);
}

std::int64_t SteadyNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

std::string FilterIdentifierFromClocks(std::int64_t steadyNanoseconds, std::uint32_t clockValue) {
    hash_sha1 hash;
    UpdateLittleEndian(hash, ~static_cast<std::uint64_t>(steadyNanoseconds), 8);
    UpdateLittleEndian(hash, FirstMt19937Output(clockValue), 4);
    hash.pad();
    return hash.hex_digest();
}

std::uint32_t FirstMt19937Output(std::uint32_t seed) {
    // The seeding recurrence, up to the word that the first twist takes from 397 places ahead.
    constexpr std::uint32_t kShift = 397;
    std::uint32_t word = seed;
    std::uint32_t second = 0;
    for (std::uint32_t i = 1; i <= kShift; ++i) {
        word = 1812433253u * (word ^ (word >> 30)) + i;
        if (i == 1) {
            second = word;
        }
    }
    // The twist of word 0: its top bit and the low 31 bits of word 1.
    const std::uint32_t joined = (seed & 0x80000000u) | (second & 0x7FFFFFFFu);
    std::uint32_t y = word ^ (joined >> 1) ^ ((joined & 1u) != 0 ? 0x9908B0DFu : 0u);
    // Tempering.
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

std::string NewFilterIdentifier() {
    // Waiting for the clock to move on makes the reading later than every one made before, those
    // of earlier calls included, so that calls within one tick of clock() still differ.
    const std::int64_t first = SteadyNanoseconds();
    std::int64_t reading = first;
    while (reading == first) {
        reading = SteadyNanoseconds();
    }
    return FilterIdentifierFromClocks(reading, static_cast<std::uint32_t>(std::clock()));
}

}  // namespace tamrivo
