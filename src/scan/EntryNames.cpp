#include "scan/EntryNames.h"

#include <algorithm>
#include <cstddef>

namespace tamrivo {
namespace {

bool IsControl(unsigned char c) {
    return c < 0x20 && c != '\t';
}

// The length of the UTF-8 character at the start of text, or zero when it is none: overlong forms,
// surrogates, code points beyond U+10FFFF and the non-characters U+FFFE and U+FFFF (which XML
// refuses) count as none.
std::size_t Utf8CharacterLength(std::string_view text) {
    const auto byte = [&text](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return 1;
    }
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || text.size() < length) {
        return 0;
    }
    char32_t code = lead & (0x7F >> length);
    for (std::size_t at = 1; at < length; ++at) {
        if ((byte(at) & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (byte(at) & 0x3F);
    }
    const char32_t smallest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    const bool fits = code >= smallest && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF) &&
                      code != 0xFFFE && code != 0xFFFF;
    return fits ? length : 0;
}

bool IsValidUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8CharacterLength(text.substr(at));
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

}  // namespace

std::string_view WhyNameIsLeftOut(std::string_view name) {
    // Plain ASCII names, by far the most, are decided in one pass.
    bool onlyPlainAscii = true;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 || IsControl(byte) || c == '\\') {
            onlyPlainAscii = false;
            break;
        }
    }
    if (onlyPlainAscii) {
        return {};
    }
    if (name.find_first_of("\r\n") != std::string_view::npos) {
        return "the name holds a line break; left out";
    }
    if (std::any_of(name.begin(), name.end(),
                    [](char c) { return IsControl(static_cast<unsigned char>(c)); })) {
        return "the name holds a control character; left out";
    }
    if (name.find('\\') != std::string_view::npos) {
        return "the name holds a backslash; left out";
    }
    if (!IsValidUtf8(name)) {
        return "the name is not UTF-8; left out";
    }
    return {};
}

std::string ShownPath(std::string path) {
    std::string shown;
    for (std::size_t at = 0; at < path.size();) {
        const std::size_t length = Utf8CharacterLength(std::string_view(path).substr(at));
        if (length == 0 || IsControl(static_cast<unsigned char>(path[at]))) {
            shown += '?';
            ++at;
        } else {
            shown.append(path, at, length);
            at += length;
        }
    }
    return shown;
}

}  // namespace tamrivo
