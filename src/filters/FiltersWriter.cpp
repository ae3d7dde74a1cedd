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
void AppendFilterDefinitions(TextLineBuffer& lines, const FolderList& folders) {
    std::string escaped;
    AppendTextLine(lines, {ItemGroupOpeningMarker});
    for (const std::string& folder : folders) {
        AppendTextLine(lines, {"    <Filter Include=\"", XmlEscaped(folder, escaped), "\"> "});
        AppendTextLine(
            lines, {"      <UniqueIdentifier>{", NewFilterIdentifier(), "}</UniqueIdentifier> "});
        AppendTextLine(lines, {"    </Filter > "});
    }
    AppendTextLine(lines, {ItemGroupClosingMarker});
}

// Writes the item group that assigns each of files, as an item of kind, to its folder's filter.
void AppendFilterAssignments(TextLineBuffer& lines, const std::vector<std::string>& files,
                             ProjectItemKind kind) {
    const std::string start = ItemLineStart(kind);
    const std::string endLine = JoinLine({"    </", ItemElementName(kind), "> "});
    std::string escaped;
    AppendTextLine(lines, {ItemGroupOpeningMarker});
    for (const std::string& path : files) {
        AppendTextLine(lines, {start, XmlEscaped(path, escaped), "\"> "});
        AppendTextLine(lines,
                       {"      <Filter>", XmlEscaped(ParentFolderViewRelativeToSrc(path), escaped),
                        "</Filter> "});
        AppendTextLine(lines, {endLine});
    }
    AppendTextLine(lines, {ItemGroupClosingMarker});
}

}  // namespace

void WriteNewFilters(std::ostream& output, const LineList& head, const SourceInventory& inventory,
                     const FolderList& folders) {
    TextLineBuffer lines{output, {}};
    for (const std::string& line : head) {
        AppendTextLine(lines, {line});
    }
    AppendFilterDefinitions(lines, folders);
    AppendFilterAssignments(lines, inventory.sourceFiles, ProjectItemKind::ClCompile);
    AppendFilterAssignments(lines, inventory.headerFiles, ProjectItemKind::ClInclude);
    AppendFilterAssignments(lines, inventory.otherFiles, ProjectItemKind::None);
    AppendTextLine(lines, {ProjectClosingLine});
    FlushTextLines(lines);
}

}  // namespace tamrivo
