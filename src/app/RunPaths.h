#pragma once

#include <boost/filesystem/path.hpp>
#include <string>

#include "app/CommandLine.h"

namespace tamrivo {

// Every path of one run, made once from the accepted command line and only read afterwards.
struct RunPaths {
    std::string project;     // the old project file, as given
    std::string filters;     // the old filters file, as given
    std::string sourceRoot;  // the root of the source tree, without extra separators
    // The outputs in their native form: the two inputs with ".new" appended, and the report file
    // in the new filters file's folder after its first "Src", relative to the current folder.
    boost::filesystem::path newProject;
    boost::filesystem::path newFilters;
    boost::filesystem::path reportFile;
};

// The paths of the run that the options name.
RunPaths MakeRunPaths(const CommandLineOptions& options);

}  // namespace tamrivo
