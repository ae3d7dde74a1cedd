#include "filters/FiltersReader.h"

#include <fstream>
#include <istream>
#include <string>

#include "platform/TextFile.h"

namespace tamrivo {
namespace {

// False for a failed stream and for a file stream that was never opened.
bool HasOpenFile(std::istream& input) {
    const auto* file = dynamic_cast<const std::filebuf*>(input.rdbuf());
    return input && (file == nullptr || file->is_open());
}

}  // namespace

bool ReadFiltersLines(std::istream& input, LineList& lines) {
    lines.clear();
    if (!HasOpenFile(input)) {
        return false;
    }
    std::string line;
    LineRead read = LineRead::Complete;
    while (read == LineRead::Complete && lines.size() < FiltersHeaderLineCount) {
        line.clear();
        read = ReadTextLine(input, line);
        lines.push_back(line);
    }
    return true;
}

}  // namespace tamrivo
