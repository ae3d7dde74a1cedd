#pragma once

#include <optional>
#include <string>

namespace tamrivo {

// What the banner shows of the program's version data.
struct VersionTexts {
    std::string name;     // the OriginalFilename text
    std::string version;  // the file version's first two parts, as "1.0"
    std::string legal;    // the LegalCopyright text
};

// The version texts of the running program, whose path as it was started is programPath; nothing
// when it has no version data. On Windows they come from the version resource of the program file
// through the version functions (a name without an extension gets ".exe", as starting the program
// gave it; a missing string leaves its text empty). Elsewhere programs carry no version resource,
// and the texts are those that the build compiled in: no file is read.
std::optional<VersionTexts> ProgramVersionTexts(const std::string& programPath);

}  // namespace tamrivo
