#include "RepositoryGenerator.h"

#include <algorithm>
#include <array>
#include <boost/filesystem/operations.hpp>
#include <cmath>
#include <optional>
#include <random>
#include <set>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "model/ExtensionTables.h"
#include "model/ProjectText.h"
#include "platform/FileAccess.h"
#include "platform/TextFile.h"
#include "scan/PathRules.h"

namespace tamrivo {
namespace fs = boost::filesystem;
namespace {

using Engine = std::mt19937;

constexpr std::size_t kMaxDepth = 6;
constexpr std::size_t kFilesPerFolder = 10;
constexpr char kProjectFolder[] = "Prj";
constexpr char kProjectPrefix[] = "..\\..\\Src\\";

// How many sub-folders a folder at each depth has, relative to each other: wide near the top.
constexpr std::array<double, kMaxDepth> kBranchingShape = {3.0, 1.6, 1.2, 1.0, 0.8, 0.6};

constexpr std::array<std::string_view, 16> kTopFolderNames = {
    "App",    "Bsw",       "Mcal",          "Os",     "Rte",    "Services",
    "Common", "Platform",  "Communication", "Memory", "Safety", "Diagnostics",
    "Boot",   "Generated", "Integration",   "Drivers"};

constexpr std::array<std::string_view, 48> kFolderNames = {
    "Adc",  "Can",  "CanIf", "CanTp", "Com",   "ComM",    "Dcm",     "Dem",    "Det",   "Dio",
    "EcuM", "Eep",  "Fee",   "Fls",   "Gpt",   "Icu",     "Lin",     "LinIf",  "Mcu",   "MemIf",
    "NvM",  "PduR", "Port",  "Pwm",   "Spi",   "Uart",    "Wdg",     "WdgM",   "BswM",  "Crc",
    "Csm",  "Xcp",  "SoAd",  "TcpIp", "EthIf", "Include", "Source",  "Config", "Stubs", "Test",
    "Hal",  "Core", "Util",  "Sched", "Power", "Sensor",  "Display", "Logger"};

constexpr std::array<std::string_view, 20> kFileRoles = {
    "",    "_Cfg", "_Lcfg", "_PBcfg",  "_Types",   "_Irq",  "_Priv", "_Main",    "_Util", "_Init",
    "_Hw", "_Api", "_Cbk",  "_MemMap", "_Version", "_Test", "_Stub", "_Callout", "_Int",  "_Defs"};

// One way a file name ends, how often it occurs (in parts of the whole), and the kind of item
// the old project lists it as. An ending without a leading dot is a whole file name.
struct FileEnding {
    std::string_view ending;
    unsigned weight;
    std::optional<ProjectItemKind> kind;
};

// The endings that make up most of a tree, with their weights; every other known one weighs 1.
constexpr std::array<std::pair<std::string_view, unsigned>, 4> kCommonEndings = {{
    {".c", 40},
    {".h", 38},
    {".cpp", 8},
    {".hpp", 4},
}};

// Endings that no extension table knows, as real trees hold them.
constexpr std::array<FileEnding, 6> kUnknownEndings = {{
    {".txt", 2, std::nullopt},
    {".md", 1, std::nullopt},
    {".S", 1, std::nullopt},
    {".xml", 1, std::nullopt},
    {".py", 1, std::nullopt},
    {"Makefile", 1, std::nullopt},
}};

// A folder of the plan: its path below Src (Windows form, empty for Src itself), its depth, and
// whether module folders grow below it.
struct PlannedFolder {
    std::string path;
    std::string name;
    std::size_t depth;
    bool growsModules;
    std::set<std::string> takenNames;  // upper case: Windows names ignore case
};

// A file of the plan: its path below Src (Windows form) and how its name ends.
struct PlannedFile {
    std::string path;
    const FileEnding* ending;
};

// An item of the old project: its element, its Include value, whether it has metadata lines, and
// whether its file is missing from the tree.
struct ProjectItem {
    std::string_view element;
    std::string include;
    bool withChildren;
    bool missing;
};

// A number below bound; the engine's output is fixed by the standard, its distributions are not.
std::size_t Below(Engine& engine, std::size_t bound) {
    return bound == 0 ? 0 : engine() % bound;
}

// True with the given chance in percent.
bool Chance(Engine& engine, unsigned percent) {
    return Below(engine, 100) < percent;
}

// A number in [0, 1), from the engine's output alone.
double Unit(Engine& engine) {
    return engine() / 4294967296.0;
}

// The text with ASCII letters in upper case, for comparing names as Windows does.
std::string UpperAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

// The path below Src of a name in a folder (the empty folder being Src itself).
std::string JoinBelow(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : folder + '\\' + name;
}

// A name not yet taken in the folder: base and ending, or base, "_", a number and ending.
std::string TakeUniqueName(PlannedFolder& folder, std::string_view base, std::string_view ending) {
    std::string name = std::string(base) + std::string(ending);
    for (std::size_t number = 2; !folder.takenNames.insert(UpperAscii(name)).second; ++number) {
        name = std::string(base) + '_' + std::to_string(number) + std::string(ending);
    }
    return name;
}

// Adds a sub-folder with a name not yet taken in its parent; returns its index.
std::size_t AddFolder(std::vector<PlannedFolder>& folders, std::size_t parent,
                      std::string_view base, bool growsModules = false) {
    const std::string name = TakeUniqueName(folders[parent], base, "");
    folders.push_back(
        {JoinBelow(folders[parent].path, name), name, folders[parent].depth + 1, growsModules, {}});
    return folders.size() - 1;
}

// Adds every folder of a Windows path below Src that the plan does not hold yet; returns the
// index of the last one.
std::size_t AddFolderPath(std::vector<PlannedFolder>& folders, const std::string& path) {
    std::size_t current = 0;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('\\', start), path.size());
        const std::string name = path.substr(start, end - start);
        const std::string wanted = JoinBelow(folders[current].path, name);
        const auto known = std::find_if(folders.begin(), folders.end(),
                                        [&](const PlannedFolder& f) { return f.path == wanted; });
        current = known != folders.end() ? static_cast<std::size_t>(known - folders.begin())
                                         : AddFolder(folders, current, name);
        start = end + 1;
    }
    return current;
}

// The external component: its marker folders, with versioned sub-folders that stay out of the
// scan, and folders beside them that the scan lists. The walk joins the names below the root
// with backslashes, so real nested folders carry the markers exactly as on Windows.
void PlanExcludedComponent(std::vector<PlannedFolder>& folders, std::size_t folderTarget) {
    const std::size_t versions = std::max<std::size_t>(1, folderTarget / 300);
    for (std::string_view marker : ExcludedFolderMarkers) {
        const std::size_t markerFolder = AddFolderPath(folders, std::string(marker));
        for (std::size_t i = 0; i < versions; ++i) {
            const std::string version =
                "V" + std::to_string(1 + i / 10) + "_" + std::to_string(i % 10);
            const std::size_t versionFolder = AddFolder(folders, markerFolder, version);
            AddFolder(folders, versionFolder, "Bin");
            AddFolder(folders, versionFolder, "Doc");
        }
    }
    std::string component(ExcludedFolderMarkers.front());
    component = WindowsParentPath(component);
    for (const char* beside : {"\\Source", "\\Include", "\\ToolsOld"}) {
        AddFolderPath(folders, component + beside);
    }
}

// The expected folder count below Src when a folder at depth d has scale * shape[d] sub-folders.
double ExpectedFolderCount(double scale) {
    double level = 1;
    double total = 0;
    for (double shape : kBranchingShape) {
        level *= scale * shape;
        total += level;
    }
    return total;
}

// The branching scale whose expected folder count is the target (the count grows with it).
double BranchingScale(std::size_t target) {
    double low = 0;
    double high = 64;
    for (int step = 0; step < 60; ++step) {
        const double middle = (low + high) / 2;
        (ExpectedFolderCount(middle) < static_cast<double>(target) ? low : high) = middle;
    }
    return high;
}

// The module folders, breadth first, until the plan holds the target count.
void PlanModuleFolders(std::vector<PlannedFolder>& folders, std::size_t target, Engine& engine) {
    const double scale = BranchingScale(target - std::min(target, folders.size()));
    for (std::size_t parent = 0; parent < folders.size() && folders.size() < target; ++parent) {
        const std::size_t depth = folders[parent].depth;
        if (depth >= kMaxDepth || !folders[parent].growsModules) {
            continue;
        }
        // Stochastic rounding keeps the mean number of sub-folders at its expected value.
        const double mean = scale * kBranchingShape[depth];
        const auto children =
            static_cast<std::size_t>(std::floor(2 * mean * Unit(engine) + Unit(engine)));
        for (std::size_t i = 0; i < children && folders.size() < target; ++i) {
            const std::string_view name =
                depth == 0 ? kTopFolderNames[Below(engine, kTopFolderNames.size())]
                           : kFolderNames[Below(engine, kFolderNames.size())];
            AddFolder(folders, parent, name, true);
        }
    }
}

// The folders of the tree: Src, the project folder, the external component and the modules.
std::vector<PlannedFolder> PlanFolders(std::size_t folderTarget, Engine& engine) {
    std::vector<PlannedFolder> folders = {{"", "Main", 0, true, {}}};
    AddFolder(folders, 0, kProjectFolder);
    PlanExcludedComponent(folders, folderTarget);
    PlanModuleFolders(folders, folderTarget, engine);
    return folders;
}

// Every ending of both extension tables, weighted as real trees are (mostly C and C++ sources
// and headers), then the unknown endings.
std::vector<FileEnding> FileEndings() {
    std::vector<FileEnding> endings;
    const auto weightOf = [](std::string_view extension) {
        const auto common = std::find_if(kCommonEndings.begin(), kCommonEndings.end(),
                                         [&](const auto& e) { return e.first == extension; });
        return common != kCommonEndings.end() ? common->second : 1u;
    };
    const auto add = [&](const ExtensionKind& entry) {
        const bool known = std::any_of(endings.begin(), endings.end(), [&](const FileEnding& e) {
            return e.ending == entry.extension;
        });
        if (!known) {
            endings.push_back({entry.extension, weightOf(entry.extension), entry.kind});
        }
    };
    std::for_each(ScanExtensionTable.begin(), ScanExtensionTable.end(), add);
    std::for_each(OldItemExtensionTable.begin(), OldItemExtensionTable.end(), add);
    endings.insert(endings.end(), kUnknownEndings.begin(), kUnknownEndings.end());
    return endings;
}

// Picks an ending by weight.
const FileEnding* PickEnding(const std::vector<FileEnding>& endings, Engine& engine) {
    unsigned total = 0;
    for (const FileEnding& ending : endings) {
        total += ending.weight;
    }
    std::size_t pick = Below(engine, total);
    for (const FileEnding& ending : endings) {
        if (pick < ending.weight) {
            return &ending;
        }
        pick -= ending.weight;
    }
    return &endings.back();
}

// The files of the tree, each in a random folder (Prj aside); the first ones take every ending
// once, so that even a small tree holds them all.
std::vector<PlannedFile> PlanFiles(std::vector<PlannedFolder>& folders,
                                   const std::vector<FileEnding>& endings, std::size_t fileCount,
                                   Engine& engine) {
    std::vector<std::vector<PlannedFile>> perFolder(folders.size());
    for (std::size_t i = 0; i < fileCount; ++i) {
        std::size_t folder = Below(engine, folders.size() - 1);
        folder += folder >= 1 ? 1 : 0;  // index 1 is the project folder
        const FileEnding* ending = i < endings.size() ? &endings[i] : PickEnding(endings, engine);
        const bool wholeName = ending->ending.front() != '.';
        const std::string base =
            wholeName
                ? std::string(ending->ending)
                : folders[folder].name + std::string(kFileRoles[Below(engine, kFileRoles.size())]);
        const std::string name =
            TakeUniqueName(folders[folder], base, wholeName ? "" : ending->ending);
        perFolder[folder].push_back({JoinBelow(folders[folder].path, name), ending});
    }
    std::vector<PlannedFile> files;
    files.reserve(fileCount);
    for (std::vector<PlannedFile>& inFolder : perFolder) {
        files.insert(files.end(), inFolder.begin(), inFolder.end());
    }
    return files;
}

// The old project's items: most files of a known kind, some text files, a few items with
// metadata, and items of files that have left the tree since. Grouped by element, each group
// sorted, as Visual Studio saves them.
std::vector<ProjectItem> PlanProjectItems(const std::vector<PlannedFile>& files, Engine& engine) {
    std::vector<ProjectItem> items;
    std::size_t removed = 0;
    for (const PlannedFile& file : files) {
        const std::string include = kProjectPrefix + file.path;
        if (file.ending->kind) {
            if (Chance(engine, 92)) {
                items.push_back(
                    {ItemElementName(*file.ending->kind), include, Chance(engine, 2), false});
            }
            if (Chance(engine, 3)) {
                // A file deleted from disk, or a whole folder gone, still named by the project.
                const std::string folder = WindowsParentPath(std::string(include));
                const std::string gone = Chance(engine, 30) ? folder + "\\Legacy" : folder;
                items.push_back({ItemElementName(*file.ending->kind),
                                 gone + "\\Removed_" + std::to_string(++removed) +
                                     std::string(file.ending->ending),
                                 false, true});
            }
        } else if (file.ending->ending == ".txt" && Chance(engine, 50)) {
            items.push_back({"Text", include, false, false});
        } else if (file.ending->ending == ".md" && Chance(engine, 50)) {
            items.push_back({"None", include, false, false});
        }
    }
    const auto order = [](std::string_view element) {
        return element == "ClCompile" ? 0 : element == "ClInclude" ? 1 : element == "None" ? 2 : 3;
    };
    std::sort(items.begin(), items.end(), [&](const ProjectItem& left, const ProjectItem& right) {
        const int l = order(left.element);
        const int r = order(right.element);
        return l != r ? l < r : left.include < right.include;
    });
    return items;
}

// A GUID in braces, upper case, as Visual Studio writes them.
std::string Guid(Engine& engine) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string guid;
    for (std::size_t i = 0; i < 32; ++i) {
        if (i == 8 || i == 12 || i == 16 || i == 20) {
            guid += '-';
        }
        guid += kHex[Below(engine, 16)];
    }
    return "{" + guid + "}";
}

// One element with a text value on one line, indented by the given number of blanks.
std::string Setting(std::size_t indent, std::string_view name, const std::string& value) {
    return std::string(indent, ' ') + "<" + std::string(name) + ">" + value + "</" +
           std::string(name) + ">";
}

// One build configuration of the project: its name, platform, build kind and target.
struct Configuration {
    std::string name;
    std::string platform;
    bool debug;
    std::string ecu;
};

// The condition attribute that selects a configuration.
std::string ConditionOf(const Configuration& c) {
    return "Condition=\"'$(Configuration)|$(Platform)'=='" + c.name + "|" + c.platform + "'\"";
}

// The 48 configurations: four build kinds for six targets on two platforms.
std::vector<Configuration> Configurations() {
    std::vector<Configuration> configurations;
    for (const char* build : {"Debug", "Release", "Test", "Coverage"}) {
        for (const char* ecu : {"EcuA", "EcuB", "EcuC", "EcuD", "EcuE", "EcuF"}) {
            for (const char* platform : {"Win32", "x64"}) {
                configurations.push_back({std::string(build) + "_" + ecu, platform,
                                          std::string(build) != "Release", ecu});
            }
        }
    }
    return configurations;
}

// The include search path of the settings: the first folders of the plan.
std::string IncludeSearchPath(const std::vector<PlannedFolder>& folders) {
    std::string paths;
    for (std::size_t i = 1; i < std::min<std::size_t>(folders.size(), 60); ++i) {
        paths += kProjectPrefix + folders[i].path + ";";
    }
    return paths;
}

// The settings of one configuration: its make commands, compiler and linker options.
void AppendConfigurationSettings(std::vector<std::string>& lines, const Configuration& c,
                                 const std::string& includePath) {
    const std::string make = "make -C ..\\.. ECU=" + c.ecu + " CONFIG=" + c.name;
    const std::string out = "..\\..\\Out\\" + c.ecu + "\\" + c.name + "\\" + c.platform + "\\";
    const std::string defines = "ECU_" + c.ecu + ";CONFIG_" + c.name + ";" +
                                (c.debug ? "_DEBUG;DEV_ERROR_DETECT=STD_ON" : "NDEBUG") +
                                ";PLATFORM_" + c.platform;
    lines.push_back("  <PropertyGroup " + ConditionOf(c) + ">");
    lines.push_back(Setting(4, "NMakeBuildCommandLine", make + " all"));
    lines.push_back(Setting(4, "NMakeReBuildCommandLine", make + " clean all"));
    lines.push_back(Setting(4, "NMakeCleanCommandLine", make + " clean"));
    lines.push_back(Setting(4, "NMakeOutput", out + "App.elf"));
    lines.push_back(
        Setting(4, "NMakePreprocessorDefinitions", defines + ";$(NMakePreprocessorDefinitions)"));
    lines.push_back(
        Setting(4, "NMakeIncludeSearchPath", includePath + "$(NMakeIncludeSearchPath)"));
    lines.push_back(Setting(4, "OutDir", out));
    lines.push_back(Setting(4, "IntDir", "..\\..\\Obj\\" + c.ecu + "\\" + c.name + "\\"));
    lines.push_back(Setting(4, "AdditionalOptions", "/std:c11"));
    lines.push_back("  </PropertyGroup>");

    lines.push_back("  <ItemDefinitionGroup " + ConditionOf(c) + ">");
    lines.push_back("    <ClCompile>");
    const std::pair<const char*, std::string> compiler[] = {
        {"WarningLevel", "Level4"},
        {"Optimization", c.debug ? "Disabled" : "MaxSpeed"},
        {"PreprocessorDefinitions", defines + ";%(PreprocessorDefinitions)"},
        {"AdditionalIncludeDirectories", includePath + "%(AdditionalIncludeDirectories)"},
        {"SDLCheck", "true"},
        {"ConformanceMode", "true"},
        {"LanguageStandard_C", "stdc11"},
        {"TreatWarningAsError", "true"},
        {"MultiProcessorCompilation", "true"},
        {"DebugInformationFormat", c.debug ? "ProgramDatabase" : "None"},
        {"RuntimeLibrary", c.debug ? "MultiThreadedDebug" : "MultiThreaded"},
        {"FunctionLevelLinking", "true"},
        {"IntrinsicFunctions", c.debug ? "false" : "true"},
        {"StringPooling", "true"},
        {"ExceptionHandling", "false"},
        {"BufferSecurityCheck", "false"},
        {"DisableSpecificWarnings", "4100;4127;4201;4214"},
    };
    for (const auto& [name, value] : compiler) {
        lines.push_back(Setting(6, name, value));
    }
    lines.push_back("    </ClCompile>");
    lines.push_back("    <Link>");
    lines.push_back(Setting(6, "SubSystem", "Console"));
    lines.push_back(Setting(6, "GenerateDebugInformation", c.debug ? "true" : "false"));
    lines.push_back(Setting(6, "EnableCOMDATFolding", "true"));
    lines.push_back(Setting(6, "OptimizeReferences", "true"));
    lines.push_back(
        Setting(6, "AdditionalDependencies", "Bsw.lib;Mcal.lib;%(AdditionalDependencies)"));
    lines.push_back("    </Link>");
    lines.push_back("    <PostBuildEvent>");
    lines.push_back(Setting(6, "Command", "copy /y " + out + "App.elf ..\\..\\Flash\\" + c.ecu));
    lines.push_back("    </PostBuildEvent>");
    lines.push_back("  </ItemDefinitionGroup>");
}

// The metadata line of an item written with child elements.
std::string ChildLine(const ProjectItem& item, const Configuration& excludedIn) {
    if (item.element == "ClCompile") {
        return "      <ExcludedFromBuild " + ConditionOf(excludedIn) + ">true</ExcludedFromBuild>";
    }
    if (item.element == "ClInclude") {
        return Setting(6, "FileType", "CppHeader");
    }
    return Setting(6, "DeploymentContent", "true");
}

// Appends the item groups: one per element, in the order of the items.
template <typename ItemLines>
void AppendItemGroups(std::vector<std::string>& lines, const std::vector<ProjectItem>& items,
                      ItemLines itemLines) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i == 0 || items[i].element != items[i - 1].element) {
            lines.emplace_back(ItemGroupOpeningMarker);
        }
        itemLines(items[i]);
        if (i + 1 == items.size() || items[i + 1].element != items[i].element) {
            lines.emplace_back(ItemGroupClosingMarker);
        }
    }
}

// The start of an item's line, up to and with the closing quote of its Include value.
std::string ItemStart(const ProjectItem& item) {
    return "    <" + std::string(item.element) + " Include=\"" + item.include + "\"";
}

// The lines of the old project: head, configurations and their settings, the items, the tail.
std::vector<std::string> ProjectLines(const std::vector<PlannedFolder>& folders,
                                      const std::vector<ProjectItem>& items, Engine& engine) {
    const std::vector<Configuration> configurations = Configurations();
    std::vector<std::string> lines = {
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>",
        "<Project DefaultTargets=\"Build\" ToolsVersion=\"16.0\" "
        "xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">",
        "  <ItemGroup Label=\"ProjectConfigurations\">"};
    for (const Configuration& c : configurations) {
        lines.push_back("    <ProjectConfiguration Include=\"" + c.name + "|" + c.platform + "\">");
        lines.push_back(Setting(6, "Configuration", c.name));
        lines.push_back(Setting(6, "Platform", c.platform));
        lines.push_back("    </ProjectConfiguration>");
    }
    lines.emplace_back(ItemGroupClosingMarker);
    lines.push_back("  <PropertyGroup Label=\"Globals\">");
    lines.push_back(Setting(4, "VCProjectVersion", "16.0"));
    lines.push_back(Setting(4, "ProjectGuid", Guid(engine)));
    lines.push_back(Setting(4, "Keyword", "MakeFileProj"));
    lines.push_back(Setting(4, "RootNamespace", "App"));
    lines.push_back("  </PropertyGroup>");
    lines.push_back("  <Import Project=\"$(VCTargetsPath)\\Microsoft.Cpp.Default.props\" />");
    for (const Configuration& c : configurations) {
        lines.push_back("  <PropertyGroup " + ConditionOf(c) + " Label=\"Configuration\">");
        lines.push_back(Setting(4, "ConfigurationType", "Makefile"));
        lines.push_back(Setting(4, "UseDebugLibraries", c.debug ? "true" : "false"));
        lines.push_back(Setting(4, "PlatformToolset", "v142"));
        lines.push_back("  </PropertyGroup>");
    }
    lines.push_back("  <Import Project=\"$(VCTargetsPath)\\Microsoft.Cpp.props\" />");
    lines.push_back("  <ImportGroup Label=\"ExtensionSettings\">");
    lines.push_back("  </ImportGroup>");
    for (const Configuration& c : configurations) {
        lines.push_back("  <ImportGroup Label=\"PropertySheets\" " + ConditionOf(c) + ">");
        lines.push_back(
            "    <Import Project=\"$(UserRootDir)\\Microsoft.Cpp.$(Platform).user.props\" "
            "Condition=\"exists('$(UserRootDir)\\Microsoft.Cpp.$(Platform).user.props')\" "
            "Label=\"LocalAppDataPlatform\" />");
        lines.push_back("  </ImportGroup>");
    }
    lines.push_back("  <PropertyGroup Label=\"UserMacros\" />");
    const std::string includePath = IncludeSearchPath(folders);
    for (const Configuration& c : configurations) {
        AppendConfigurationSettings(lines, c, includePath);
    }
    AppendItemGroups(lines, items, [&](const ProjectItem& item) {
        if (!item.withChildren) {
            lines.push_back(ItemStart(item) + " />");
            return;
        }
        lines.push_back(ItemStart(item) + ">");
        lines.push_back(ChildLine(item, configurations[Below(engine, configurations.size())]));
        lines.push_back("    </" + std::string(item.element) + ">");
    });
    lines.push_back("  <Import Project=\"$(VCTargetsPath)\\Microsoft.Cpp.targets\" />");
    lines.push_back("  <ImportGroup Label=\"ExtensionTargets\">");
    lines.push_back("  </ImportGroup>");
    lines.push_back("</Project>");
    return lines;
}

// The filter of an item: its folder below Src.
std::string FilterOf(const std::string& include) {
    std::string folder = include;
    return ParentFolderRelativeToSrc(folder);
}

// The lines of the old filters file: a filter for every folder that holds an item (and for the
// folders above it), then each item with its filter; items directly in Src have none.
std::vector<std::string> FiltersLines(const std::vector<ProjectItem>& items, Engine& engine) {
    std::set<std::string> filters;
    for (const ProjectItem& item : items) {
        for (std::string filter = FilterOf(item.include); !filter.empty();
             filter = WindowsParentPath(filter)) {
            filters.insert(filter);
        }
    }
    std::vector<std::string> lines = {
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>",
        "<Project ToolsVersion=\"4.0\" "
        "xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">",
        "  <ItemGroup>"};
    for (const std::string& filter : filters) {
        lines.push_back("    <Filter Include=\"" + filter + "\">");
        lines.push_back(Setting(6, "UniqueIdentifier", Guid(engine)));
        lines.push_back("    </Filter>");
    }
    lines.emplace_back(ItemGroupClosingMarker);
    AppendItemGroups(lines, items, [&](const ProjectItem& item) {
        const std::string filter = FilterOf(item.include);
        if (filter.empty()) {
            lines.push_back(ItemStart(item) + " />");
            return;
        }
        lines.push_back(ItemStart(item) + ">");
        lines.push_back(Setting(6, "Filter", filter));
        lines.push_back("    </" + std::string(item.element) + ">");
    });
    lines.push_back("</Project>");
    return lines;
}

// Writes lines with CR LF; the last one without a line end, as Visual Studio saves its files.
void WriteLines(const fs::path& path, const std::vector<std::string>& lines) {
    fs::ofstream output;
    OpenOutputFile(output, path);
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        WriteTextLine(output, lines[i]);
    }
    if (!lines.empty()) {
        output << lines.back();
    }
    output.close();
    if (!output) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

// Creates the folders and the (empty) files of the plan.
void CreateTree(const fs::path& src, const std::vector<PlannedFolder>& folders,
                const std::vector<PlannedFile>& files) {
    fs::create_directory(src);
    for (std::size_t i = 1; i < folders.size(); ++i) {
        fs::create_directory(src / NativePathFromWindowsForm(folders[i].path));
    }
    for (const PlannedFile& file : files) {
        fs::ofstream output;
        OpenOutputFile(output, src / NativePathFromWindowsForm(file.path));
        if (!output) {
            throw std::runtime_error("cannot create " + file.path);
        }
    }
}

}  // namespace

RepositorySummary GenerateRepository(const std::string& root, std::size_t fileCount,
                                     std::uint32_t seed) {
    const fs::path src = NativePath(root) / "Src";
    if (fs::exists(src)) {
        throw std::runtime_error(src.string() + " exists already");
    }
    Engine engine(seed);
    const std::vector<FileEnding> endings = FileEndings();
    std::vector<PlannedFolder> folders =
        PlanFolders(std::max<std::size_t>(1, fileCount / kFilesPerFolder), engine);
    const std::vector<PlannedFile> files = PlanFiles(folders, endings, fileCount, engine);
    const std::vector<ProjectItem> items = PlanProjectItems(files, engine);
    const std::vector<std::string> projectLines = ProjectLines(folders, items, engine);
    const std::vector<std::string> filtersLines = FiltersLines(items, engine);

    fs::create_directories(NativePath(root));
    CreateTree(src, folders, files);
    const fs::path project = src / kProjectFolder / "App.vcxproj";
    WriteLines(project, projectLines);
    WriteLines(project.string() + ".filters", filtersLines);

    RepositorySummary summary;
    summary.folders = folders.size() - 1;
    summary.files = files.size();
    for (const PlannedFolder& folder : folders) {
        summary.maxDepth = std::max(summary.maxDepth, folder.depth);
        summary.excludedFolders += IsOutsideExcludedFolders(folder.path) ? 0 : 1;
    }
    for (const PlannedFile& file : files) {
        if (!IsOutsideExcludedFolders(file.path)) {
            ++summary.excludedFiles;
        } else if (!file.ending->kind) {
            ++summary.unknownKindFiles;
        }
    }
    for (const ProjectItem& item : items) {
        ++(item.withChildren ? summary.itemsWithChildren : summary.oneLineItems);
        summary.missingItems += item.missing ? 1 : 0;
    }
    summary.projectLines = projectLines.size();
    summary.filtersLines = filtersLines.size();
    return summary;
}

}  // namespace tamrivo
