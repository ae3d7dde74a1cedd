#include "crypto/FilterIdentifier.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <ctime>
#include <random>

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
    std::mt19937 generator(clockValue);
    UpdateLittleEndian(hash, static_cast<std::uint32_t>(generator()), 4);
    hash.pad();
    return hash.hex_digest();
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
