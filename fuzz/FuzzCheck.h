#pragma once

#include <cstdio>
#include <cstdlib>

namespace tamrivo {

// Ends the run when a property fails: libFuzzer takes the abort for a crash and keeps the input.
inline void FuzzCheck(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "property failed: %s\n", what);
        std::abort();
    }
}

}  // namespace tamrivo
