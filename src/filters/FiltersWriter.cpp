#include "filters/FiltersWriter.h"

#include <ostream>
#include <string_view>

#include "crypto/FilterIdentifier.h"
#include "platform/TextFile.h"
#include "project/NewProjectWriter.h"
#include "project/OldItemExtraction.h"
#include "scan/PathRules.h"

namespace tamrivo {
void WriteNewFilters(std::ostream& output, LineList& lines, const SourceInventory& inventory,
                     const FolderList& folders) {
    AppendFilterDefinitions(lines, folders);
    AppendFilterAssignments(lines, inventory.sourceFiles, ProjectItemKind::ClCompile);
    AppendFilterAssignments(lines, inventory.headerFiles, ProjectItemKind::ClInclude);
    AppendFilterAssignments(lines, inventory.otherFiles, ProjectItemKind::None);
    lines.push_back(ProjectClosingLine);
    for (const std::string& line : lines) {
        WriteTextLine(output, line);
    }
}

void AppendFilterDefinitions(LineList& lines, const FolderList& folders) {
    lines.push_back(ItemGroupOpeningMarker);
    for (const std::string& folder : folders) {
        lines.push_back(MakeFilterIncludeLine(folder));
        lines.push_back(MakeUniqueIdentifierLine());
        lines.push_back("    </Filter > ");
    }
    lines.push_back(ItemGroupClosingMarker);
}

void AppendFilterAssignments(LineList& lines, const std::vector<std::string>& files,
                             ProjectItemKind kind) {
    const std::string_view element = ItemElementName(kind);
    const std::string endLine = JoinLine({"    </", element, "> "});
    lines.push_back(ItemGroupOpeningMarker);
    for (const std::string& path : files) {
        lines.push_back(JoinLine({"    <", element, " Include=\"", path, "\"> "}));
        lines.push_back(MakeFilterLine(path));
        lines.push_back(endLine);
    }
    lines.push_back(ItemGroupClosingMarker);
}

std::string MakeFilterIncludeLine(const std::string& folder) {
    return JoinLine({"    <Filter Include=\"", folder, "\"> "});
}

std::string MakeUniqueIdentifierLine() {
    return JoinLine({"      <UniqueIdentifier>{", NewFilterIdentifier(), "}</UniqueIdentifier> "});
}

std::string MakeFilterLine(const std::string& path) {
    return JoinLine({"      <Filter>", ParentFolderViewRelativeToSrc(path), "</Filter> "});
}

}  // namespace tamrivo
