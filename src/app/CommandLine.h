#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "scan/ExcludePatterns.h"

namespace tamrivo {

// The options of a run and whether an argument naming each path option was found.
struct CommandLineOptions {
    bool hasVcxprojPath = false;
    bool hasVcxprojFiltersPath = false;
    bool hasSrcPath = false;
    std::string vcxprojPath;
    std::string vcxprojFiltersPath;
    std::string srcPath;
    bool check = false;                    // --Check: compare only, write nothing
    bool keepIdentifiers = false;          // --KeepIdentifiers: filters keep their old identifiers
    bool replace = false;                  // --Replace: write over the old files
    std::vector<ExcludePattern> excludes;  // every --Exclude=PATTERN, in order
};

// What a command line asks for besides a run.
enum class CommandLineRequest { Run, Help, Version };

// --help, -h or /? as the only argument ask for the usage, --version for the banner.
CommandLineRequest RequestOf(const std::vector<std::string>& arguments);

// Prints the usage with every option and one line about each.
void PrintHelp(std::ostream& output);

// Finds the options in the arguments and checks their values; true when all pass. Each check that
// fails is one line on errorOutput naming the option, its value and the reason, and so is each
// argument that is no option but resembles one; a path whose status cannot be queried is also a
// line on output saying why.
bool ParseCommandLine(const std::vector<std::string>& arguments, CommandLineOptions& options,
                      std::ostream& output, std::ostream& errorOutput);

// Warns on errorOutput when the source root as given has no "Src", or when its first "Src" lies
// inside a longer name: the paths of the new files are cut at the first "Src".
void WarnAboutSourceRoot(const std::string& srcPath, std::ostream& errorOutput);

// Appends ".new" to the path itself and returns a copy of the result.
std::string MakeNewFilePath(std::string& path);

}  // namespace tamrivo
