#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tamrivo {

// The three options of a run and whether an argument naming each was found.
struct CommandLineOptions {
    bool hasVcxprojPath = false;
    bool hasVcxprojFiltersPath = false;
    bool hasSrcPath = false;
    std::string vcxprojPath;
    std::string vcxprojFiltersPath;
    std::string srcPath;
};

// Finds the three options in the arguments and checks their paths; true when all three pass.
// A path whose status cannot be queried fails its check with a line on output saying why.
bool ParseCommandLine(const std::vector<std::string>& arguments, CommandLineOptions& options,
                      std::ostream& output);

// Appends ".new" to the path itself and returns a copy of the result.
std::string MakeNewFilePath(std::string& path);

}  // namespace tamrivo
