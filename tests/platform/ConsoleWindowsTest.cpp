// The console's code page during a run, on a real console: Wine makes one only for a program that
// runs in a terminal, so CMake runs these cases under script(1) there.
#include <windows.h>

#include <gtest/gtest.h>

#include <utility>

#include "platform/Console.h"

namespace tamrivo {
namespace {

constexpr UINT kUsersCodePage = 850;

// Opens a handle that stays open for the test; the process ends soon after.
HANDLE Open(const wchar_t* name) {
    return CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_EXISTING, 0, nullptr);
}

// Standard output and error as given, for as long as it lives; then as they were.
class StandardStreams {
  public:
    StandardStreams(HANDLE output, HANDLE error)
        : output_(GetStdHandle(STD_OUTPUT_HANDLE)), error_(GetStdHandle(STD_ERROR_HANDLE)) {
        SetStdHandle(STD_OUTPUT_HANDLE, output);
        SetStdHandle(STD_ERROR_HANDLE, error);
    }
    ~StandardStreams() {
        SetStdHandle(STD_OUTPUT_HANDLE, output_);
        SetStdHandle(STD_ERROR_HANDLE, error_);
    }
    StandardStreams(const StandardStreams&) = delete;
    StandardStreams& operator=(const StandardStreams&) = delete;

  private:
    HANDLE output_;
    HANDLE error_;
};

// The console's code page during a run with these standard streams, and after it.
std::pair<UINT, UINT> CodePagesDuringAndAfterRun(HANDLE output, HANDLE error) {
    EXPECT_TRUE(SetConsoleOutputCP(kUsersCodePage));
    const StandardStreams streams(output, error);
    UINT during = 0;
    {
        const Utf8ConsoleDuringRun console;
        during = GetConsoleOutputCP();
    }
    return {during, GetConsoleOutputCP()};
}

TEST(Utf8ConsoleDuringRun, AConsoleOnEitherStreamShowsUtf8UntilTheRunEnds) {
    const HANDLE console = Open(L"CONOUT$");
    ASSERT_NE(console, INVALID_HANDLE_VALUE) << "no console: under Wine, run in a terminal";
    const HANDLE file = Open(L"NUL");
    ASSERT_NE(file, INVALID_HANDLE_VALUE);

    const std::pair<UINT, UINT> shownThenRestored{CP_UTF8, kUsersCodePage};
    EXPECT_EQ(CodePagesDuringAndAfterRun(console, console), shownThenRestored);
    EXPECT_EQ(CodePagesDuringAndAfterRun(console, file), shownThenRestored);
    EXPECT_EQ(CodePagesDuringAndAfterRun(file, console), shownThenRestored);
}

TEST(Utf8ConsoleDuringRun, RedirectedStreamsLeaveTheConsoleAsItIs) {
    ASSERT_NE(Open(L"CONOUT$"), INVALID_HANDLE_VALUE)
        << "no console: under Wine, run in a terminal";
    const HANDLE file = Open(L"NUL");
    ASSERT_NE(file, INVALID_HANDLE_VALUE);

    const std::pair<UINT, UINT> untouched{kUsersCodePage, kUsersCodePage};
    EXPECT_EQ(CodePagesDuringAndAfterRun(file, file), untouched);
}

}  // namespace
}  // namespace tamrivo
