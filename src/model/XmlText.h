#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace tamrivo {

// A character and the predefined XML entity that stands for it.
struct XmlEntity {
    char character;
    std::string_view reference;
};

// The five predefined entities; the new files escape all but the last, the apostrophe, which no
// double-quoted attribute value and no element text needs.
inline constexpr std::array<XmlEntity, 5> PredefinedXmlEntities = {{
    {'&', "&amp;"},
    {'<', "&lt;"},
    {'>', "&gt;"},
    {'"', "&quot;"},
    {'\'', "&apos;"},
}};
inline constexpr std::size_t EscapedEntityCount = 4;

// The entity that escapes c in the new files, or nullptr when c stays as it is.
inline const XmlEntity* EscapingEntity(char c) {
    for (std::size_t index = 0; index < EscapedEntityCount; ++index) {
        if (PredefinedXmlEntities[index].character == c) {
            return &PredefinedXmlEntities[index];
        }
    }
    return nullptr;
}

// Where the first byte that the new files escape stands in value; its size when there is none.
// Every byte of every written path passes here, and almost none is one to escape.
inline std::size_t FirstXmlEscapedByte(std::string_view value) {
    // Eight bytes at a time while none of them is one to escape: a byte equal to an escaped
    // character is a zero byte of word ^ (character in every byte), which shows as a set high bit
    // in (x - 0x01..01) & ~x & 0x80..80.
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    std::size_t pos = 0;
    for (; pos + sizeof kOnes <= value.size(); pos += sizeof kOnes) {
        std::uint64_t word = 0;
        std::memcpy(&word, value.data() + pos, sizeof word);
        std::uint64_t zeros = 0;
        for (std::size_t index = 0; index < EscapedEntityCount; ++index) {
            const std::uint64_t x =
                word ^ (kOnes * static_cast<unsigned char>(PredefinedXmlEntities[index].character));
            zeros |= (x - kOnes) & ~x & (kOnes << 7);
        }
        if (zeros != 0) {
            break;
        }
    }
    while (pos < value.size() && EscapingEntity(value[pos]) == nullptr) {
        ++pos;
    }
    return pos;
}

// The value with & < > " written as entities, so that it can stand in an attribute value or an
// element's text. Gives the value itself when it holds none of them; otherwise the escaped text,
// kept in storage.
inline std::string_view XmlEscaped(std::string_view value, std::string& storage) {
    std::size_t pos = FirstXmlEscapedByte(value);
    if (pos == value.size()) {
        return value;
    }
    storage.assign(value.substr(0, pos));
    for (; pos < value.size(); ++pos) {
        const XmlEntity* entity = EscapingEntity(value[pos]);
        if (entity == nullptr) {
            storage.push_back(value[pos]);
        } else {
            storage.append(entity->reference);
        }
    }
    return storage;
}

// The value with each of the five predefined entities replaced by its character, left to right;
// any other reference, a numeric one included, stays as it is. Gives the value itself when it
// holds no "&"; otherwise the decoded text, kept in storage.
inline std::string_view XmlDecoded(std::string_view value, std::string& storage) {
    std::size_t pos = value.find('&');
    if (pos == std::string_view::npos) {
        return value;
    }
    storage.assign(value.substr(0, pos));
    while (pos < value.size()) {
        bool replaced = false;
        if (value[pos] == '&') {
            for (const XmlEntity& entity : PredefinedXmlEntities) {
                if (value.compare(pos, entity.reference.size(), entity.reference) == 0) {
                    storage.push_back(entity.character);
                    pos += entity.reference.size();
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) {
            storage.push_back(value[pos++]);
        }
    }
    return storage;
}

}  // namespace tamrivo
