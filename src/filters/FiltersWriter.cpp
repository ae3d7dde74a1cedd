#include "filters/FiltersWriter.h"

#include <string_view>

#include "crypto/FilterIdentifier.h"
#include "model/ProjectText.h"
#include "model/XmlText.h"
#include "platform/TextFile.h"
#include "scan/PathRules.h"

namespace tamrivo {
namespace {

// Writes the item group that defines one filter, with a fresh identifier, per folder.
void AppendFilterDefinitions(std::ostream& output, const FolderList& folders) {
    std::string escaped;
    WriteTextLine(output, ItemGroupOpeningMarker);
    for (const std::string& folder : folders) {
        WriteTextLine(output, "    <Filter Include=\"", XmlEscaped(folder, escaped), "\"> ");
        WriteTextLine(output, "      <UniqueIdentifier>{", NewFilterIdentifier(),
                      "}</UniqueIdentifier> ");
        WriteTextLine(output, "    </Filter > ");
    }
    WriteTextLine(output, ItemGroupClosingMarker);
}

// Writes the item group that assigns each of files, as an item of kind, to its folder's filter.
void AppendFilterAssignments(std::ostream& output, const std::vector<std::string>& files,
                             ProjectItemKind kind) {
    const std::string start = ItemLineStart(kind);
    const std::string endLine = JoinLine({"    </", ItemElementName(kind), "> "});
    std::string escaped;
    WriteTextLine(output, ItemGroupOpeningMarker);
    for (const std::string& path : files) {
        WriteTextLine(output, start, XmlEscaped(path, escaped), "\"> ");
        WriteTextLine(output, "      <Filter>",
                      XmlEscaped(ParentFolderViewRelativeToSrc(path), escaped), "</Filter> ");
        WriteTextLine(output, endLine);
    }
    WriteTextLine(output, ItemGroupClosingMarker);
}

}  // namespace

void WriteNewFilters(std::ostream& output, const LineList& head, const SourceInventory& inventory,
                     const FolderList& folders) {
    for (const std::string& line : head) {
        WriteTextLine(output, line);
    }
    AppendFilterDefinitions(output, folders);
    AppendFilterAssignments(output, inventory.sourceFiles, ProjectItemKind::ClCompile);
    AppendFilterAssignments(output, inventory.headerFiles, ProjectItemKind::ClInclude);
    AppendFilterAssignments(output, inventory.otherFiles, ProjectItemKind::None);
    WriteTextLine(output, ProjectClosingLine);
}

}  // namespace tamrivo
