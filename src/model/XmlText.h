#pragma once

#include <array>
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

// The value with & < > " written as entities, so that it can stand in an attribute value or an
// element's text. Gives the value itself when it holds none of them; otherwise the escaped text,
// kept in storage.
inline std::string_view XmlEscaped(std::string_view value, std::string& storage) {
    std::size_t pos = 0;
    while (pos < value.size() && EscapingEntity(value[pos]) == nullptr) {
        ++pos;
    }
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
// any other reference, a numeric one included, stays as it is.
inline std::string XmlDecoded(std::string_view value) {
    std::string decoded;
    decoded.reserve(value.size());
    std::size_t pos = 0;
    while (pos < value.size()) {
        bool replaced = false;
        if (value[pos] == '&') {
            for (const XmlEntity& entity : PredefinedXmlEntities) {
                if (value.compare(pos, entity.reference.size(), entity.reference) == 0) {
                    decoded.push_back(entity.character);
                    pos += entity.reference.size();
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) {
            decoded.push_back(value[pos++]);
        }
    }
    return decoded;
}

}  // namespace tamrivo
