#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "app/CommandLine.h"

namespace tamrivo {

// A tree with a source root, a project file and a filters file.
struct Inputs {
    testing::TempDir dir;
    std::string src = dir / "Repo/Src";
    std::string project = dir / "Repo/Src/Prj/App.vcxproj";
    std::string filters = dir / "Repo/Src/Prj/App.vcxproj.filters";
    Inputs() {
        testing::WriteFile(project, "");
        testing::WriteFile(filters, "");
    }
};

// What one call of ParseCommandLine gave.
struct Parsed {
    bool accepted;
    CommandLineOptions options;
    std::string output;
    std::string errorOutput;
};

// Parses an argument vector, keeping what ParseCommandLine printed on either output.
inline Parsed Parse(const std::vector<std::string>& arguments) {
    Parsed parsed;
    std::ostringstream output;
    std::ostringstream errorOutput;
    parsed.accepted = ParseCommandLine(arguments, parsed.options, output, errorOutput);
    parsed.output = output.str();
    parsed.errorOutput = errorOutput.str();
    return parsed;
}

}  // namespace tamrivo
