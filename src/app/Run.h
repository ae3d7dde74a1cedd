#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tamrivo {

// Exit codes of a run.
inline constexpr int kExitComplete = 0;       // a complete run; with --Check: in line
inline constexpr int kExitNotInLine = 1;      // --Check: the old files are not in line
inline constexpr int kExitUsagePrinted = -1;  // the usage lines were printed, the run complete
inline constexpr int kExitFilesFailed = -2;   // a file could not be read or written
inline constexpr int kExitRefused = -4;       // the command line was refused; no file touched

// One whole run for the given argument vector (the program's path first); gives the exit code.
int RunTamrivo(const std::vector<std::string>& arguments, std::ostream& output,
               std::ostream& errorOutput);

}  // namespace tamrivo
