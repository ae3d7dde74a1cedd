#pragma once

#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "report/Report.h"

namespace tamrivo {

// The 23 summary lines with the given counts: old, tree and added, each header, source, other.
inline std::vector<std::string> Summary(const std::array<int, 9>& n) {
    const auto counts = [&n](int first) {
        return std::vector<std::string>{"Number of Header Files: " + std::to_string(n[first]),
                                        "Number of Source Files: " + std::to_string(n[first + 1]),
                                        "Number of Other  Files: " + std::to_string(n[first + 2])};
    };
    std::vector<std::string> lines = {"Tamrivo.exe report TamrivoReport.txt: <timestamp>",
                                      "",
                                      "Tamrivo Report:",
                                      "--------------------------",
                                      "",
                                      "Files in old Vcxproj:",
                                      "-----------------------"};
    for (const auto& part :
         {counts(0),
          std::vector<std::string>{""},
          {"Files in the specified Src path:", "-------------------------------------------"},
          counts(3),
          {""},
          {"List of new added files:", "------------------------"},
          counts(6),
          {""}}) {
        lines.insert(lines.end(), part.begin(), part.end());
    }
    return lines;
}

inline std::string ConsoleText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

}  // namespace tamrivo
