#include "app/CommandLine.h"

#include <boost/filesystem/operations.hpp>
#include <ostream>

#include "platform/FileAccess.h"

namespace tamrivo {
namespace fs = boost::filesystem;
namespace {

// Takes the value of the first argument that contains the option's name: the text after the
// name's length plus one separator character, counted from the argument's start.
void FindOption(const std::vector<std::string>& arguments, const std::string& name, bool& found,
                std::string& value) {
    for (const std::string& argument : arguments) {
        if (argument.find(name) != std::string::npos) {
            found = true;
            if (argument.size() > name.size() + 1) {
                value = argument.substr(name.size() + 1);
            }
            return;
        }
    }
    found = false;
}

// The status of a path named by an option; a query that fails for another reason than absence
// is reported and counts as a missing path.
fs::file_status CheckedStatus(const std::string& option, const std::string& path,
                              std::ostream& output) {
    boost::system::error_code error;
    const fs::file_status status = fs::status(NativePath(path), error);
    if (status.type() == fs::status_error) {
        output << "Tamrivo error: Cannot access the path of " << option << ": " << path << " ("
               << error.message() << ")" << std::endl;
    }
    return status;
}

bool PathExists(const std::string& option, const std::string& path, std::ostream& output) {
    return !path.empty() && fs::exists(CheckedStatus(option, path, output));
}

bool FolderExists(const std::string& option, const std::string& path, std::ostream& output) {
    return !path.empty() && fs::is_directory(CheckedStatus(option, path, output));
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& arguments, CommandLineOptions& options,
                      std::ostream& output) {
    FindOption(arguments, "--VcxprojPath", options.hasVcxprojPath, options.vcxprojPath);
    FindOption(arguments, "--VcxprojFiltersPath", options.hasVcxprojFiltersPath,
               options.vcxprojFiltersPath);
    FindOption(arguments, "--SrcPath", options.hasSrcPath, options.srcPath);

    const bool sourceRootPasses = FolderExists("--SrcPath", options.srcPath, output);
    const bool projectPasses = PathExists("--VcxprojPath", options.vcxprojPath, output);
    const bool filtersPasses =
        PathExists("--VcxprojFiltersPath", options.vcxprojFiltersPath, output);
    return sourceRootPasses && projectPasses && filtersPasses;
}

std::string MakeNewFilePath(std::string& path) {
    path += ".new";
    return path;
}

}  // namespace tamrivo
