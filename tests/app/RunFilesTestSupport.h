#pragma once

#include <gtest/gtest.h>

#include <istream>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "app/RunFiles.h"
#include "platform/FileAccess.h"

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
            return TextFault::None;
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
        "new project file", NativePath(path), inputs, [&](std::ostream& out) { out << text; },
        messages);
    output = messages.str();
    return ok;
}

// Writes the input file dir/App.vcxproj.filters, then checks that writing the new project file to
// outputPath, which names that input another way, is refused and leaves the input as it was.
inline void ExpectWritingOverTheFiltersFileRefused(const testing::TempDir& dir,
                                                   const std::string& outputPath) {
    testing::WriteFile(dir / "App.vcxproj.filters", "keep");
    std::string output;
    EXPECT_FALSE(
        WriteText(outputPath, {dir / "App.vcxproj", dir / "App.vcxproj.filters"}, "x", output));
    EXPECT_EQ(testing::ReadFile(dir / "App.vcxproj.filters"), "keep");
    EXPECT_EQ(output, "Tamrivo error: Refusing to write the new project file: " + outputPath +
                          " (it is an input file of this run)\n");
}

}  // namespace tamrivo
