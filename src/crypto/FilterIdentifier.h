#pragma once

#include <cstdint>
#include <string>

namespace tamrivo {

// The identifier of given clock readings: the lowercase hexadecimal SHA-1 digest of the bitwise
// complement of steadyNanoseconds (8 bytes) and the first output of an MT19937 seeded with
// clockValue (4 bytes), each least significant byte first.
std::string FilterIdentifierFromClocks(std::int64_t steadyNanoseconds, std::uint32_t clockValue);

// The first output of an MT19937 seeded with seed, as std::mt19937(seed)() gives it: only state
// words 0, 1 and 397 take part in it, so neither the other words nor the twist are made.
std::uint32_t FirstMt19937Output(std::uint32_t seed);

// A fresh filter identifier, 40 lowercase hexadecimal digits: the identifier of a steady clock
// reading later than every earlier one and of the C library's clock.
std::string NewFilterIdentifier();

}  // namespace tamrivo
