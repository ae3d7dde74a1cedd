#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tamrivo {

// A pattern of --Exclude, taken apart into the names it matches one by one.
struct ExcludePattern {
    std::vector<std::string> names;  // "**" stands for any number of whole names
    bool foldersOnly = false;        // the pattern ended in a separator
};

// Takes a pattern apart; a pattern that cannot be one gives nothing and the reason in reason.
// A pattern without a separator (but a trailing one) matches a name at any depth.
std::optional<ExcludePattern> ParseExcludePattern(std::string_view text, std::string& reason);

// True when one of the patterns matches the whole path below the root ('/' and '\' both
// separators): '*' any characters within one name, '?' one character, "**" any number of whole
// names, ASCII letters regardless of case. Time grows with the product of the path's and the
// pattern's lengths at most.
bool IsExcluded(const std::vector<ExcludePattern>& patterns, std::string_view pathBelowRoot,
                bool isFolder);

}  // namespace tamrivo
