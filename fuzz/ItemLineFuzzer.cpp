// MatchItemLine against std::regex_match with ItemLinePattern: the same answer and the same value
// on every line. The standard engine recurses once per character, so lines stay short.
#include <cstddef>
#include <cstdint>
#include <regex>
#include <string>

#include "FuzzCheck.h"
#include "project/ProjectItemLines.h"

namespace {

constexpr std::size_t kLongestLine = 2000;

// A value that no line can give, so that a value left alone is told from one that was set.
const std::string kUntouched(1, '\n');

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kLongestLine) {
        return -1;  // not added to the corpus
    }
    static const std::regex oracle{std::string(tamrivo::ItemLinePattern)};
    const std::string line(reinterpret_cast<const char*>(data), size);

    std::string value = kUntouched;
    const bool matched = tamrivo::MatchItemLine(line, value);
    std::smatch groups;
    const bool expected = std::regex_match(line, groups, oracle);

    tamrivo::FuzzCheck(matched == expected, "MatchItemLine and std::regex differ on the line");
    tamrivo::FuzzCheck(value == (expected ? groups[3].str() : kUntouched),
                       "MatchItemLine and std::regex differ on the value");
    return 0;
}
