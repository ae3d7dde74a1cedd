#pragma once

namespace tamrivo {

// Makes a console on standard output or error show UTF-8, the bytes that Tamrivo writes; returns
// the code page to give back to it afterwards, 0 when nothing changed (both streams redirected to
// files or pipes, whose bytes go out as they are; the console already at UTF-8; not Windows).
unsigned ShowUtf8OnConsole();

// Gives the console back a code page that ShowUtf8OnConsole replaced; does nothing for 0.
void RestoreConsoleCodePage(unsigned codePage);

// Lets a write to a pipe whose reader went away fail as any failed write does, instead of ending
// the process (SIGPIPE), so that a run still completes its files.
void IgnoreBrokenPipes();

// For the lifetime of a run: the console shows UTF-8, and is left as it was.
class Utf8ConsoleDuringRun {
  public:
    Utf8ConsoleDuringRun() : replacedCodePage_(ShowUtf8OnConsole()) {}
    ~Utf8ConsoleDuringRun() { RestoreConsoleCodePage(replacedCodePage_); }
    Utf8ConsoleDuringRun(const Utf8ConsoleDuringRun&) = delete;
    Utf8ConsoleDuringRun& operator=(const Utf8ConsoleDuringRun&) = delete;

  private:
    unsigned replacedCodePage_;
};

}  // namespace tamrivo
