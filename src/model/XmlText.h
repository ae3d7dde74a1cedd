#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

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

// A tab as a character reference: written raw, an XML reader would make it a blank (another
// file).
inline constexpr std::string_view TabReference = "&#9;";

// The characters that MSBuild gives a meaning in an item's value (its escape, lists, properties,
// item lists, metadata, transforms, wildcards): each is written as "%" and its two hexadecimal
// digits, which MSBuild reads back as the character itself.
inline constexpr std::string_view MsBuildSpecialCharacters = "%;$@'()*?";
inline constexpr char MsBuildEscapeMark = '%';
inline constexpr std::string_view HexDigits = "0123456789ABCDEF";

// The escape of each of MsBuildSpecialCharacters, in its order: "%25", "%3B", ...
inline constexpr auto MsBuildEscapeTexts = [] {
    std::array<std::array<char, 3>, MsBuildSpecialCharacters.size()> texts{};
    for (std::size_t index = 0; index < MsBuildSpecialCharacters.size(); ++index) {
        const auto byte = static_cast<unsigned char>(MsBuildSpecialCharacters[index]);
        texts[index] = {MsBuildEscapeMark, HexDigits[byte >> 4], HexDigits[byte & 15]};
    }
    return texts;
}();

// How the new files write each byte of a spliced value (a path, a folder, a filter's name): the
// MSBuild escapes, the XML entities but the apostrophe's (which is an MSBuild character), the
// tab's reference; empty for a byte that stands as it is. Each byte has one way, so the order in
// which a reader undoes them (XML first, then MSBuild) gives the value back.
inline constexpr auto ValueEscapes = [] {
    std::array<std::string_view, 256> escapes{};
    for (std::size_t index = 0; index < EscapedEntityCount; ++index) {
        const XmlEntity& entity = PredefinedXmlEntities[index];
        escapes[static_cast<unsigned char>(entity.character)] = entity.reference;
    }
    escapes['\t'] = TabReference;
    for (std::size_t index = 0; index < MsBuildSpecialCharacters.size(); ++index) {
        escapes[static_cast<unsigned char>(MsBuildSpecialCharacters[index])] =
            std::string_view(MsBuildEscapeTexts[index].data(), MsBuildEscapeTexts[index].size());
    }
    return escapes;
}();

// The value as the new files write it between quotes or as an element's text (ValueEscapes).
// Gives the value itself when no byte of it is escaped; otherwise the escaped text, kept in
// storage.
inline std::string_view EscapedValue(std::string_view value, std::string& storage) {
    // Every byte of every written path passes here, and almost none is one to escape: one byte
    // of a table each, not a look at its escape.
    static constexpr auto kIsEscaped = [] {
        std::array<bool, 256> escaped{};
        for (std::size_t byte = 0; byte < escaped.size(); ++byte) {
            escaped[byte] = !ValueEscapes[byte].empty();
        }
        return escaped;
    }();
    std::size_t pos = 0;
    while (pos < value.size() && !kIsEscaped[static_cast<unsigned char>(value[pos])]) {
        ++pos;
    }
    if (pos == value.size()) {
        return value;
    }
    storage.assign(value.substr(0, pos));
    for (; pos < value.size(); ++pos) {
        const std::string_view escape = ValueEscapes[static_cast<unsigned char>(value[pos])];
        if (escape.empty()) {
            storage.push_back(value[pos]);
        } else {
            storage.append(escape);
        }
    }
    return storage;
}

// The value of the hexadecimal digit c, or -1 when c is none.
inline int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')) {
        return (c | 0x20) - 'a' + 10;
    }
    return -1;
}

// Appends the code point as UTF-8.
inline void AppendUtf8(std::uint32_t code, std::string& text) {
    if (code < 0x80) {
        text.push_back(static_cast<char>(code));
        return;
    }
    constexpr unsigned char kLeadMarks[] = {0, 0xC0, 0xE0, 0xF0};  // by continuation bytes
    const int continuations = code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
    text.push_back(static_cast<char>(kLeadMarks[continuations] | (code >> (6 * continuations))));
    for (int shift = 6 * (continuations - 1); shift >= 0; shift -= 6) {
        text.push_back(static_cast<char>(0x80 | ((code >> shift) & 0x3F)));
    }
}

// When a numeric character reference ("&#9;", "&#x41;") of a Unicode code point stands at pos:
// appends its character as UTF-8 to text and gives the reference's length; else gives 0.
inline std::size_t AppendNumericReference(std::string_view value, std::size_t pos,
                                          std::string& text) {
    const bool hex = value.compare(pos, 3, "&#x") == 0;
    if (!hex && value.compare(pos, 2, "&#") != 0) {
        return 0;
    }
    const int base = hex ? 16 : 10;
    std::uint32_t code = 0;
    std::size_t end = pos + (hex ? 3 : 2);
    for (; end < value.size() && value[end] != ';'; ++end) {
        const int digit = HexDigitValue(value[end]);
        if (digit < 0 || digit >= base || code > 0x10FFFF) {
            return 0;
        }
        code = code * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(digit);
    }
    if (end == value.size() || end == pos + (hex ? 3 : 2) || code > 0x10FFFF) {
        return 0;
    }
    AppendUtf8(code, text);
    return end + 1 - pos;
}

// The value with each predefined entity and each numeric character reference replaced by its
// character (UTF-8), left to right; any other reference stays as it is. Gives the value itself
// when it holds no "&"; otherwise the decoded text, kept in storage.
inline std::string_view XmlDecoded(std::string_view value, std::string& storage) {
    std::size_t pos = value.find('&');
    if (pos == std::string_view::npos) {
        return value;
    }
    storage.assign(value.substr(0, pos));
    while (pos < value.size()) {
        std::size_t replaced = 0;
        if (value[pos] == '&') {
            for (const XmlEntity& entity : PredefinedXmlEntities) {
                if (value.compare(pos, entity.reference.size(), entity.reference) == 0) {
                    storage.push_back(entity.character);
                    replaced = entity.reference.size();
                    break;
                }
            }
            if (replaced == 0) {
                replaced = AppendNumericReference(value, pos, storage);
            }
        }
        if (replaced == 0) {
            storage.push_back(value[pos]);
            replaced = 1;
        }
        pos += replaced;
    }
    return storage;
}

// The value with each MSBuild escape ("%" and two hexadecimal digits) replaced by its byte, as
// MSBuild reads an item's value. Gives the value itself when it holds no "%"; otherwise the
// decoded text, kept in storage.
inline std::string_view MsBuildDecoded(std::string_view value, std::string& storage) {
    std::size_t pos = value.find(MsBuildEscapeMark);
    if (pos == std::string_view::npos) {
        return value;
    }
    storage.assign(value.substr(0, pos));
    for (; pos < value.size(); ++pos) {
        const int high = pos + 2 < value.size() ? HexDigitValue(value[pos + 1]) : -1;
        const int low = high >= 0 ? HexDigitValue(value[pos + 2]) : -1;
        if (value[pos] == MsBuildEscapeMark && low >= 0) {
            storage.push_back(static_cast<char>(high * 16 + low));
            pos += 2;
        } else {
            storage.push_back(value[pos]);
        }
    }
    return storage;
}

// A value of an item or filter as MSBuild reads it: XML's references decoded, then MSBuild's
// escapes; what EscapedValue wrote comes back as it was. Gives the value itself when nothing was
// decoded; otherwise the decoded text, kept in storage.
inline std::string_view DecodedValue(std::string_view value, std::string& storage) {
    std::string xml;
    const std::string_view once = XmlDecoded(value, xml);
    const std::string_view twice = MsBuildDecoded(once, storage);
    if (twice.data() == xml.data()) {
        storage = std::move(xml);
        return storage;
    }
    return twice;
}

}  // namespace tamrivo
