#pragma once

#include <iosfwd>
#include <string>

namespace tamrivo {

// Prints the program's name, version, build date and legal text from the version data of the
// file at programPath (the program's own path as it was started); nothing when it has none.
void PrintBanner(const std::string& programPath, std::ostream& output);

}  // namespace tamrivo
