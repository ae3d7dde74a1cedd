#include "filters/FiltersWriter.h"

#include <string_view>

#include "crypto/FilterIdentifier.h"
#include "model/ProjectText.h"
#include "model/XmlText.h"
#include "platform/TextFile.h"
#include "scan/PathRules.h"

namespace tamrivo {
namespace {

// Writes the item group that defines one filter per folder, with its kept identifier or a fresh
// one.
void AppendFilterDefinitions(std::ostream& output, const FolderList& folders,
                             const KeptIdentifiers& kept) {
    std::string escaped;
    WriteTextLine(output, ItemGroupOpeningMarker);
    for (const std::string& folder : folders) {
        WriteTextLine(output, "    <Filter Include=\"", EscapedValue(folder, escaped), "\"> ");
        const auto keptIdentifier = kept.find(folder);
        const std::string identifier = keptIdentifier == kept.end()
                                           ? JoinLine({"{", NewFilterIdentifier(), "}"})
                                           : keptIdentifier->second;
        WriteTextLine(output, "      <UniqueIdentifier>", identifier, "</UniqueIdentifier> ");
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
        WriteTextLine(output, start, EscapedValue(path, escaped), "\"> ");
        WriteTextLine(output, "      <Filter>",
                      EscapedValue(ParentFolderViewRelativeToSrc(path), escaped), "</Filter> ");
        WriteTextLine(output, endLine);
    }
    WriteTextLine(output, ItemGroupClosingMarker);
}

}  // namespace

KeptIdentifiers IdentifiersToKeep(const OldFilters& oldFilters) {
    KeptIdentifiers kept;
    for (const FilterDefinition& definition : oldFilters.definitions) {
        if (definition.identifier &&
            definition.identifier->find_first_of("\r\n") == std::string::npos) {
            kept.emplace(definition.name, *definition.identifier);
        }
    }
    return kept;
}

void WriteNewFilters(std::ostream& output, const LineList& head, const SourceInventory& inventory,
                     const FolderList& folders, const KeptIdentifiers& kept) {
    for (const std::string& line : head) {
        WriteTextLine(output, line);
    }
    AppendFilterDefinitions(output, folders, kept);
    AppendFilterAssignments(output, inventory.sourceFiles, ProjectItemKind::ClCompile);
    AppendFilterAssignments(output, inventory.headerFiles, ProjectItemKind::ClInclude);
    AppendFilterAssignments(output, inventory.otherFiles, ProjectItemKind::None);
    WriteTextLine(output, ProjectClosingLine);
}

}  // namespace tamrivo
