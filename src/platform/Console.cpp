#include "platform/Console.h"

#ifdef _WIN32

#include <windows.h>

#include <cstdio>

namespace tamrivo {
namespace {

bool IsConsole(DWORD standardStream) {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(standardStream), &mode) != FALSE;
}

}  // namespace

unsigned ShowUtf8OnConsole() {
    if (!IsConsole(STD_OUTPUT_HANDLE) && !IsConsole(STD_ERROR_HANDLE)) {
        return 0;
    }
    const UINT current = GetConsoleOutputCP();
    if (current == CP_UTF8 || !SetConsoleOutputCP(CP_UTF8)) {
        return 0;
    }
    return current;
}

void RestoreConsoleCodePage(unsigned codePage) {
    if (codePage == 0) {
        return;
    }
    // What is still buffered must reach the console while it shows UTF-8.
    std::fflush(stdout);
    std::fflush(stderr);
    SetConsoleOutputCP(codePage);
}

// Windows has no signal for a pipe that lost its reader: the write fails.
void IgnoreBrokenPipes() {}

}  // namespace tamrivo

#else

#include <csignal>

namespace tamrivo {

void IgnoreBrokenPipes() {
    std::signal(SIGPIPE, SIG_IGN);
}

unsigned ShowUtf8OnConsole() {
    return 0;
}

void RestoreConsoleCodePage(unsigned) {}

}  // namespace tamrivo

#endif
