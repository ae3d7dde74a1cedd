#include "app/CommandLine.h"

#include <algorithm>
#include <array>
#include <boost/filesystem/operations.hpp>
#include <ostream>
#include <string_view>

#include "model/AsciiCase.h"
#include "model/ProjectText.h"
#include "platform/FileAccess.h"

namespace tamrivo {
namespace fs = boost::filesystem;
namespace {

// Every option: its name, what follows it in its argument, and one line about it.
struct OptionText {
    std::string_view name;
    std::string_view value;
    std::string_view about;
};
constexpr std::string_view kVcxprojPath = "--VcxprojPath";
constexpr std::string_view kVcxprojFiltersPath = "--VcxprojFiltersPath";
constexpr std::string_view kSrcPath = "--SrcPath";
constexpr std::string_view kCheck = "--Check";
constexpr std::string_view kKeepIdentifiers = "--KeepIdentifiers";
constexpr std::string_view kExclude = "--Exclude";
constexpr std::string_view kReplace = "--Replace";
constexpr std::string_view kHelp = "--help";
constexpr std::string_view kVersion = "--version";
constexpr std::array<OptionText, 9> kOptions = {{
    {kVcxprojPath, "=PATH", "the project file (.vcxproj)"},
    {kVcxprojFiltersPath, "=PATH", "the project's filters file (.vcxproj.filters)"},
    {kSrcPath, "=PATH", "the root of the source tree, a folder"},
    {kCheck, "", "compare the two files with the tree, write nothing: exit 0 in line, 1 not"},
    {kKeepIdentifiers, "", "filters that the old filters file defines keep their identifiers"},
    {kExclude, "=PATTERN", "leave matching files and folders out of the walk (repeatable)"},
    {kReplace, "", "write the new contents over the two files instead of beside them"},
    {kHelp, "", "print this usage (also -h or /?)"},
    {kVersion, "", "print the banner"},
}};
constexpr std::array<std::string_view, 3> kHelpArguments = {kHelp, "-h", "/?"};

// An --Exclude argument, with its pattern after "=" or without one.
bool IsExclude(std::string_view argument) {
    return argument.substr(0, kExclude.size()) == kExclude &&
           (argument.size() == kExclude.size() || argument[kExclude.size()] == '=');
}

// The options that are whole arguments; the path options are found inside any argument.
bool IsWholeArgumentOption(std::string_view argument) {
    return argument == kCheck || argument == kKeepIdentifiers || argument == kReplace ||
           IsExclude(argument);
}

// Takes the value of the first argument that contains the option's name: the text after the
// name's length plus one separator character, counted from the argument's start. Gives the
// argument, or nullptr when there is none.
const std::string* FindOption(const std::vector<std::string>& arguments, std::string_view name,
                              bool& found, std::string& value) {
    for (const std::string& argument : arguments) {
        if (argument.find(name) != std::string::npos && !IsWholeArgumentOption(argument)) {
            found = true;
            if (argument.size() > name.size() + 1) {
                value = argument.substr(name.size() + 1);
            }
            return &argument;
        }
    }
    found = false;
    return nullptr;
}

// The status of a path named by an option; a query that fails for another reason than absence
// is reported on output and its reason kept in error.
fs::file_status CheckedStatus(std::string_view option, const std::string& path,
                              std::ostream& output, boost::system::error_code& error) {
    const fs::file_status status = fs::status(NativePath(path), error);
    if (status.type() == fs::status_error) {
        output << "Tamrivo error: Cannot access the path of " << option << ": " << path << " ("
               << error.message() << ")" << std::endl;
    }
    return status;
}

// Checks one path option; a failed check adds its reason line to reasons.
bool CheckPath(std::string_view option, const std::string* argument, const std::string& value,
               bool folder, std::ostream& output, std::vector<std::string>& reasons) {
    std::string reason;
    if (argument == nullptr) {
        reasons.push_back(std::string(option) + ": missing");
        return false;
    }
    boost::system::error_code error;
    const fs::file_status status =
        value.empty() ? fs::file_status() : CheckedStatus(option, value, output, error);
    if (value.empty()) {
        reason = *argument == option ? "empty (the value belongs in the same argument, after \"=\")"
                                     : "empty";
    } else if (status.type() == fs::status_error) {
        reason = "cannot be accessed: " + error.message();
    } else if (!fs::exists(status)) {
        reason = "does not exist";
    } else if (folder && !fs::is_directory(status)) {
        reason = "is not a folder";
    } else {
        return true;
    }
    reasons.push_back(std::string(option) + "=" + value + ": " + reason);
    return false;
}

// The number of characters to insert, remove or replace to make one text the other, letter case
// aside.
std::size_t FoldedDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            const std::size_t replace =
                diagonal + (FoldAsciiCase(a[i - 1]) == FoldAsciiCase(b[j - 1]) ? 0 : 1);
            row[j] = std::min({above + 1, row[j - 1] + 1, replace});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The option that an argument which is none resembles (its name part differs by letter case or
// by at most two characters), or an empty view.
std::string_view ResembledOption(const std::string& argument) {
    constexpr std::size_t kMostEdits = 2;
    const std::string_view name = std::string_view(argument).substr(0, argument.find('='));
    std::string_view closest;
    std::size_t closestDistance = kMostEdits + 1;
    for (const OptionText& option : kOptions) {
        const std::size_t longer = std::max(name.size(), option.name.size());
        if (longer - std::min(name.size(), option.name.size()) > kMostEdits) {
            continue;
        }
        const std::size_t distance = FoldedDistance(name, option.name);
        if (distance < closestDistance) {
            closest = option.name;
            closestDistance = distance;
        }
    }
    return closest;
}

// A line for each argument after the program's path that is no option but resembles one.
std::vector<std::string> ResemblingArguments(const std::vector<std::string>& arguments) {
    std::vector<std::string> lines;
    for (std::size_t index = 1; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        const bool pathOption = argument.find(kVcxprojPath) != std::string::npos ||
                                argument.find(kVcxprojFiltersPath) != std::string::npos ||
                                argument.find(kSrcPath) != std::string::npos;
        if (pathOption || IsWholeArgumentOption(argument)) {
            continue;
        }
        const std::string_view option = ResembledOption(argument);
        if (!option.empty()) {
            lines.push_back(argument + ": no option, and ignored; did you mean " +
                            std::string(option) + "?");
        }
    }
    return lines;
}

// Reads the whole-argument options into options; a refused one adds its reason line.
void FindWholeArgumentOptions(const std::vector<std::string>& arguments,
                              CommandLineOptions& options, std::vector<std::string>& reasons) {
    for (std::size_t index = 1; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        options.check = options.check || argument == kCheck;
        options.keepIdentifiers = options.keepIdentifiers || argument == kKeepIdentifiers;
        options.replace = options.replace || argument == kReplace;
        if (IsExclude(argument)) {
            const std::string_view text =
                std::string_view(argument).substr(std::min(argument.size(), kExclude.size() + 1));
            std::string reason;
            if (auto pattern = ParseExcludePattern(text, reason)) {
                options.excludes.push_back(std::move(*pattern));
            } else {
                reasons.push_back(argument + ": " + reason);
            }
        }
    }
    if (options.check && options.replace) {
        reasons.push_back(std::string(kCheck) + " and " + std::string(kReplace) +
                          ": cannot be given together (one writes nothing, the other over the "
                          "old files)");
    }
}

constexpr std::string_view kErrorStart = "Tamrivo error: ";
constexpr std::string_view kWarningStart = "Tamrivo warning: ";

}  // namespace

CommandLineRequest RequestOf(const std::vector<std::string>& arguments) {
    if (arguments.size() == 2) {
        if (std::find(kHelpArguments.begin(), kHelpArguments.end(), arguments[1]) !=
            kHelpArguments.end()) {
            return CommandLineRequest::Help;
        }
        if (arguments[1] == kVersion) {
            return CommandLineRequest::Version;
        }
    }
    return CommandLineRequest::Run;
}

void PrintHelp(std::ostream& output) {
    output << "Usage: Tamrivo.exe --VcxprojPath=PATH --VcxprojFiltersPath=PATH --SrcPath=PATH "
              "[options]\n";
    constexpr std::size_t kColumn = 28;
    for (const OptionText& option : kOptions) {
        const std::string usage = " " + std::string(option.name) + std::string(option.value);
        output << usage << std::string(kColumn - usage.size(), ' ') << option.about << '\n';
    }
    output.flush();
}

bool ParseCommandLine(const std::vector<std::string>& arguments, CommandLineOptions& options,
                      std::ostream& output, std::ostream& errorOutput) {
    const std::string* project =
        FindOption(arguments, kVcxprojPath, options.hasVcxprojPath, options.vcxprojPath);
    const std::string* filters = FindOption(
        arguments, kVcxprojFiltersPath, options.hasVcxprojFiltersPath, options.vcxprojFiltersPath);
    const std::string* src = FindOption(arguments, kSrcPath, options.hasSrcPath, options.srcPath);

    std::vector<std::string> reasons;
    bool accepted = CheckPath(kSrcPath, src, options.srcPath, true, output, reasons);
    accepted =
        CheckPath(kVcxprojPath, project, options.vcxprojPath, false, output, reasons) && accepted;
    accepted = CheckPath(kVcxprojFiltersPath, filters, options.vcxprojFiltersPath, false, output,
                         reasons) &&
               accepted;
    FindWholeArgumentOptions(arguments, options, reasons);
    accepted = accepted && reasons.empty();
    for (const std::string& line : ResemblingArguments(arguments)) {
        // Ignored as ever in a run that goes on, named as a likely cause in one that does not.
        errorOutput << (accepted ? kWarningStart : kErrorStart) << line << '\n';
    }
    if (!accepted) {
        for (const std::string& line : reasons) {
            errorOutput << kErrorStart << line << '\n';
        }
    }
    errorOutput.flush();
    return accepted;
}

void WarnAboutSourceRoot(const std::string& srcPath, std::ostream& errorOutput) {
    const std::size_t marker = srcPath.find(SrcMarker);
    if (marker == std::string::npos) {
        errorOutput << kWarningStart << "the source root's path has no \"" << SrcMarker << "\" ("
                    << kSrcPath << "=" << srcPath
                    << "): the new files name each file by the path it was found at, not by "
                    << ProjectPathPrefix << SrcMarker << "\\..." << std::endl;
        return;
    }
    const std::size_t start = srcPath.find_last_of("/\\", marker);
    const std::size_t nameStart = start == std::string::npos ? 0 : start + 1;
    const std::size_t end = srcPath.find_first_of("/\\", marker);
    const std::string name = srcPath.substr(nameStart, end - nameStart);
    if (name != SrcMarker) {
        errorOutput << kWarningStart << "the first \"" << SrcMarker
                    << "\" of the source root's path lies inside the name \"" << name << "\" ("
                    << kSrcPath << "=" << srcPath << "): the new files' paths are cut there"
                    << std::endl;
    }
}

std::string MakeNewFilePath(std::string& path) {
    path += ".new";
    return path;
}

}  // namespace tamrivo
