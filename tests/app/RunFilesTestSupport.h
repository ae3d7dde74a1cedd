#pragma once

#include <istream>
#include <sstream>
#include <string>
#include <vector>

#include "app/RunFiles.h"

namespace tamrivo {

// What one call of ReadRunInput gave.
struct ReadOutcome {
    bool ok;
    std::string content;
    std::string output;
};

// Reads a file as the run's project file, keeping its bytes and what was printed.
inline ReadOutcome ReadAll(const std::string& path) {
    ReadOutcome outcome;
    std::ostringstream output;
    outcome.ok = ReadRunInput(
        "project file", path,
        [&](std::istream& in) {
            std::ostringstream bytes;
            if (in.rdbuf() && in.good()) {
                bytes << in.rdbuf();
            }
            outcome.content = bytes.str();
        },
        output);
    outcome.output = output.str();
    return outcome;
}

// Writes text as the run's new project file; output receives what was printed.
inline bool WriteText(const std::string& path, const std::vector<std::string>& inputs,
                      const std::string& text, std::string& output) {
    std::ostringstream messages;
    const bool ok = WriteRunOutput(
        "new project file", path, inputs, [&](std::ostream& out) { out << text; }, messages);
    output = messages.str();
    return ok;
}

}  // namespace tamrivo
