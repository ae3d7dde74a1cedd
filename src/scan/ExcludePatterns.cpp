#include "scan/ExcludePatterns.h"

#include "model/AsciiCase.h"
#include "scan/PathRules.h"

namespace tamrivo {
namespace {

constexpr std::string_view kAnyNames = "**";

// The names of a path or pattern, split at either separator; empty names are kept.
std::vector<std::string_view> SplitNames(std::string_view text) {
    std::vector<std::string_view> names;
    std::size_t start = 0;
    for (std::size_t pos = 0; pos <= text.size(); ++pos) {
        if (pos == text.size() || IsWindowsSeparator(text[pos])) {
            names.push_back(text.substr(start, pos - start));
            start = pos + 1;
        }
    }
    return names;
}

// Where the character that starts at pos ends: one byte, or a UTF-8 lead byte with the
// continuation bytes after it, so that '?' takes one character of any script.
std::size_t CharacterEnd(std::string_view name, std::size_t pos) {
    ++pos;
    while (pos < name.size() && (static_cast<unsigned char>(name[pos]) & 0xC0) == 0x80) {
        ++pos;
    }
    return pos;
}

// One name against one name pattern: the two-pointer wildcard match that goes back only to the
// last '*', so that no input takes more than the product of both lengths.
bool NameMatches(std::string_view pattern, std::string_view name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starAt = std::string_view::npos;
    std::size_t resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeAt = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n = CharacterEnd(name, n);
        } else if (p < pattern.size() && FoldAsciiCase(pattern[p]) == FoldAsciiCase(name[n])) {
            ++p;
            ++n;
        } else if (starAt != std::string_view::npos) {
            p = starAt + 1;
            resumeAt = CharacterEnd(name, resumeAt);
            n = resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

// The names of a path against a pattern's: the wildcard match once more, one level up, names for
// characters and "**" for '*'. The pieces between two "**" have fixed lengths, so taking each at
// its first fit is never wrong.
bool NamesMatch(const std::vector<std::string>& wanted,
                const std::vector<std::string_view>& names) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starAt = wanted.size();
    std::size_t resumeAt = 0;
    while (n < names.size()) {
        if (p < wanted.size() && wanted[p] == kAnyNames) {
            starAt = p++;
            resumeAt = n;
        } else if (p < wanted.size() && NameMatches(wanted[p], names[n])) {
            ++p;
            ++n;
        } else if (starAt != wanted.size()) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < wanted.size() && wanted[p] == kAnyNames) {
        ++p;
    }
    return p == wanted.size();
}

}  // namespace

std::optional<ExcludePattern> ParseExcludePattern(std::string_view text, std::string& reason) {
    ExcludePattern pattern;
    if (text.empty()) {
        reason = "empty";
        return std::nullopt;
    }
    if (IsWindowsSeparator(text.back())) {
        pattern.foldersOnly = true;
        text.remove_suffix(1);
    }
    // A leading separator only says what a separator inside says: from the root.
    const bool fromRoot = !text.empty() && IsWindowsSeparator(text.front());
    if (fromRoot) {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        reason = "it names nothing";
        return std::nullopt;
    }
    for (const std::string_view name : SplitNames(text)) {
        if (name.empty()) {
            reason = "it has two separators in a row";
            return std::nullopt;
        }
        if (name == "." || name == "..") {
            reason = "\"" + std::string(name) + "\" names no entry below the source root";
            return std::nullopt;
        }
        if (name != kAnyNames && name.find(kAnyNames) != std::string_view::npos) {
            reason = "\"**\" must be a whole name";
            return std::nullopt;
        }
        pattern.names.emplace_back(name);
    }
    if (pattern.names.size() == 1 && !fromRoot) {
        pattern.names.insert(pattern.names.begin(), std::string(kAnyNames));
    }
    return pattern;
}

bool IsExcluded(const std::vector<ExcludePattern>& patterns, std::string_view pathBelowRoot,
                bool isFolder) {
    const std::vector<std::string_view> names = SplitNames(pathBelowRoot);
    for (const ExcludePattern& pattern : patterns) {
        if ((isFolder || !pattern.foldersOnly) && NamesMatch(pattern.names, names)) {
            return true;
        }
    }
    return false;
}

}  // namespace tamrivo
