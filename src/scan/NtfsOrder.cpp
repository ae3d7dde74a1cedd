#include "scan/NtfsOrder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "scan/UpcaseTable.h"

namespace tamrivo {
namespace {

unsigned char UpperAscii(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c;
}

// The upper case of a code unit by NTFS's simple mapping.
std::uint16_t Upcase(std::uint16_t unit) {
    auto run = std::upper_bound(
        UpcaseRuns.begin(), UpcaseRuns.end(), unit,
        [](std::uint16_t value, const UpcaseRun& candidate) { return value < candidate.first; });
    if (run == UpcaseRuns.begin()) {
        return unit;
    }
    --run;
    if (unit > run->last || (unit - run->first) % run->stride != 0) {
        return unit;
    }
    return static_cast<std::uint16_t>(unit + run->delta);
}

// The UTF-16 code units of a UTF-8 name, one after the other, from a character's first byte on.
struct Utf16Units {
    std::string_view name;
    std::size_t pos = 0;
    std::uint16_t pendingLowSurrogate = 0;
};

// The code point of the well-formed UTF-8 character at pos and its length; length 0 when the
// bytes there are no such character (a stray, overlong or cut-off sequence, or a surrogate).
char32_t DecodeCharacter(std::string_view name, std::size_t pos, std::size_t& length) {
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(name[at]); };
    const unsigned char lead = byte(pos);
    std::size_t count = 0;
    char32_t point = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        count = 2, point = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        count = 3, point = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        count = 4, point = lead & 0x07, least = 0x10000;
    }
    length = 0;
    if (count == 0 || name.size() - pos < count) {
        return 0;
    }
    for (std::size_t i = 1; i < count; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) {
            return 0;
        }
        point = (point << 6) | (byte(pos + i) & 0x3F);
    }
    if (point < least || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
        return 0;
    }
    length = count;
    return point;
}

// Takes the next code unit; false at the end of the name.
bool NextUnit(Utf16Units& units, std::uint16_t& unit) {
    if (units.pendingLowSurrogate != 0) {
        unit = units.pendingLowSurrogate;
        units.pendingLowSurrogate = 0;
        return true;
    }
    if (units.pos == units.name.size()) {
        return false;
    }
    const unsigned char lead = static_cast<unsigned char>(units.name[units.pos]);
    if (lead < 0x80) {
        unit = lead;
        ++units.pos;
        return true;
    }
    std::size_t length = 0;
    const char32_t point = DecodeCharacter(units.name, units.pos, length);
    if (length == 0) {
        unit = static_cast<std::uint16_t>(0xDC00 + lead);
        ++units.pos;
        return true;
    }
    units.pos += length;
    if (point < 0x10000) {
        unit = static_cast<std::uint16_t>(point);
    } else {
        unit = static_cast<std::uint16_t>(0xD800 + ((point - 0x10000) >> 10));
        units.pendingLowSurrogate =
            static_cast<std::uint16_t>(0xDC00 + ((point - 0x10000) & 0x3FF));
    }
    return true;
}

}  // namespace

bool NtfsNameLess(const std::string& left, const std::string& right) {
    // ASCII names, by far the most, need no decoding: their bytes are their code units, and equal
    // bytes are equal in upper case too. Eight bytes at a time, the equal start of two such names
    // is passed over up to their first different byte.
    const std::size_t common = std::min(left.size(), right.size());
    constexpr std::uint64_t kHighBits = 0x8080808080808080;
    std::size_t pos = 0;
    for (; pos + sizeof kHighBits <= common; pos += sizeof kHighBits) {
        std::uint64_t l = 0;
        std::uint64_t r = 0;
        std::memcpy(&l, left.data() + pos, sizeof l);
        std::memcpy(&r, right.data() + pos, sizeof r);
        if (((l | r) & kHighBits) != 0) {
            break;
        }
        if (l != r) {
            while (left[pos] == right[pos]) {
                ++pos;
            }
            break;
        }
    }
    for (; pos < common; ++pos) {
        const auto l = static_cast<unsigned char>(left[pos]);
        const auto r = static_cast<unsigned char>(right[pos]);
        if ((l | r) >= 0x80) {
            break;
        }
        if (UpperAscii(l) != UpperAscii(r)) {
            return UpperAscii(l) < UpperAscii(r);
        }
    }
    Utf16Units leftUnits{left, pos};
    Utf16Units rightUnits{right, pos};
    while (true) {
        std::uint16_t l = 0;
        std::uint16_t r = 0;
        const bool leftHasUnit = NextUnit(leftUnits, l);
        const bool rightHasUnit = NextUnit(rightUnits, r);
        if (!leftHasUnit || !rightHasUnit) {
            return leftHasUnit == rightHasUnit ? left < right : rightHasUnit;
        }
        if (Upcase(l) != Upcase(r)) {
            return Upcase(l) < Upcase(r);
        }
    }
}

std::uint64_t NtfsOrderKey(const std::string& name) {
    std::uint64_t key = 0;
    for (std::size_t pos = 0; pos < sizeof key; ++pos) {
        const auto byte = pos < name.size() ? static_cast<unsigned char>(name[pos]) : 0;
        if (byte >= 0x80) {
            return 0;
        }
        key = key << 8 | UpperAscii(byte);
    }
    return key;
}

namespace {

// An entry's place in its folder's listing and its name's NtfsOrderKey.
struct SortPlace {
    std::uint64_t key;
    std::size_t place;
};

}  // namespace

// The keys decide most comparisons; the places are sorted, and each entry is then moved once,
// along the cycles of the order.
void SortInNtfsOrder(std::vector<FolderEntry>& entries) {
    std::vector<SortPlace> places;
    places.reserve(entries.size());
    for (std::size_t place = 0; place < entries.size(); ++place) {
        places.push_back({NtfsOrderKey(entries[place].name), place});
    }
    std::sort(places.begin(), places.end(),
              [&entries](const SortPlace& left, const SortPlace& right) {
                  if (left.key != right.key && left.key != 0 && right.key != 0) {
                      return left.key < right.key;
                  }
                  return NtfsNameLess(entries[left.place].name, entries[right.place].name);
              });
    // places[i].place is where the entry for position i stands; each position done is marked by
    // its own number.
    for (std::size_t start = 0; start < entries.size(); ++start) {
        if (places[start].place == start) {
            continue;
        }
        FolderEntry held = std::move(entries[start]);
        std::size_t position = start;
        while (places[position].place != start) {
            const std::size_t from = places[position].place;
            entries[position] = std::move(entries[from]);
            places[position].place = position;
            position = from;
        }
        entries[position] = std::move(held);
        places[position].place = position;
    }
}

}  // namespace tamrivo
