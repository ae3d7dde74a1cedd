#pragma once

#include <boost/filesystem/operations.hpp>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace tamrivo {

// The files that a run on the example writes, below its source folder.
inline const std::vector<std::string> kOutputs = {
    "Prj/App.vcxproj.new", "Prj/App.vcxproj.filters.new", "Prj/TamrivoReport.txt"};

// A copy of the bundled example without whatever an earlier run left in it.
inline std::string CopyOfTheExample(const testing::TempDir& dir) {
    const std::string repo = dir / "Repo";
    testing::CopyTree(testing::ProjectSourceDir() + "/examples/Repo", repo);
    for (const std::string& output : kOutputs) {
        boost::filesystem::remove(repo + "/Src/" + output);
    }
    return repo;
}

// Runs Tamrivo on the example the way the README does, from the source folder, with options
// before the paths.
inline testing::ProgramResult RunOnTheExample(const std::string& repo,
                                              std::vector<std::string> options = {}) {
    options.insert(options.begin(), testing::TamrivoExecutable());
    options.insert(options.end(),
                   {"--VcxprojPath=Prj/App.vcxproj", "--VcxprojFiltersPath=Prj/App.vcxproj.filters",
                    "--SrcPath=" + repo + "/Src"});
    return testing::RunProgram(options, repo + "/Src");
}

// Puts the new files of a run in the old ones' places, as a user who adopts them does.
inline void AdoptTheNewFiles(const std::string& repo) {
    for (const std::string name : {"App.vcxproj", "App.vcxproj.filters"}) {
        const std::string old = repo + "/Src/Prj/" + name;
        boost::filesystem::rename(old + ".new", old);
    }
}

}  // namespace tamrivo
