#include "filters/FiltersWriter.h"

#include <ostream>
#include <string_view>

#include "crypto/FilterIdentifier.h"
#include "model/ProjectText.h"
#include "model/XmlText.h"
#include "platform/TextFile.h"
#include "scan/PathRules.h"

namespace tamrivo {
namespace {

// The first line of a filter definition for a folder.
std::string MakeFilterIncludeLine(const std::string& folder) {
    std::string escaped;
    return JoinLine({"    <Filter Include=\"", XmlEscaped(folder, escaped), "\"> "});
}

// The line of a filter definition that holds a fresh identifier.
std::string MakeUniqueIdentifierLine() {
    return JoinLine({"      <UniqueIdentifier>{", NewFilterIdentifier(), "}</UniqueIdentifier> "});
}

// Appends the item group that defines one filter, with a fresh identifier, per folder.
void AppendFilterDefinitions(LineList& lines, const FolderList& folders) {
    lines.emplace_back(ItemGroupOpeningMarker);
    for (const std::string& folder : folders) {
        lines.push_back(MakeFilterIncludeLine(folder));
        lines.push_back(MakeUniqueIdentifierLine());
        lines.push_back("    </Filter > ");
    }
    lines.emplace_back(ItemGroupClosingMarker);
}

// Appends the item group that assigns each of files, as an item of kind, to its folder's filter.
void AppendFilterAssignments(LineList& lines, const std::vector<std::string>& files,
                             ProjectItemKind kind) {
    const std::string start = ItemLineStart(kind);
    const std::string endLine = JoinLine({"    </", ItemElementName(kind), "> "});
    std::string escaped;
    lines.emplace_back(ItemGroupOpeningMarker);
    for (const std::string& path : files) {
        lines.push_back(JoinLine({start, XmlEscaped(path, escaped), "\"> "}));
        lines.push_back(MakeFilterLine(path));
        lines.push_back(endLine);
    }
    lines.emplace_back(ItemGroupClosingMarker);
}

}  // namespace

void WriteNewFilters(std::ostream& output, LineList& lines, const SourceInventory& inventory,
                     const FolderList& folders) {
    AppendFilterDefinitions(lines, folders);
    AppendFilterAssignments(lines, inventory.sourceFiles, ProjectItemKind::ClCompile);
    AppendFilterAssignments(lines, inventory.headerFiles, ProjectItemKind::ClInclude);
    AppendFilterAssignments(lines, inventory.otherFiles, ProjectItemKind::None);
    lines.emplace_back(ProjectClosingLine);
    for (const std::string& line : lines) {
        WriteTextLine(output, line);
    }
}

std::string MakeFilterLine(const std::string& path) {
    std::string escaped;
    return JoinLine(
        {"      <Filter>", XmlEscaped(ParentFolderViewRelativeToSrc(path), escaped), "</Filter> "});
}

}  // namespace tamrivo
