#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tamrivo::testing {

// A fresh folder below the system's temporary folder, removed with everything in it at the end
// (permissions are restored first, so that tests may take them away).
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // The path of a name below the folder (slashes, created parent folders not included).
    std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

  private:
    std::string path_;
};

// Writes bytes to a file, creating its parent folders.
void WriteFile(const std::string& path, const std::string& bytes);

// The bytes of a file; empty when it cannot be read.
std::string ReadFile(const std::string& path);

bool FileExists(const std::string& path);

// Copies a folder with everything below it (links copied as links).
void CopyTree(const std::string& from, const std::string& to);

// Every path below a folder, relative to it and with slashes, with the bytes of each file (a
// folder's are empty, a link's are its target): a picture of a tree to compare before and after a
// run.
std::map<std::string, std::string> SnapshotTree(const std::string& path);

// Lines joined with CR LF after each, as Visual Studio and Tamrivo write them.
std::string CrLfLines(const std::vector<std::string>& lines);

// The text with the 40 hexadecimal digits of every filter identifier ("<UniqueIdentifier>{...}")
// replaced by as many "x"; the digits found are appended to identifiers, in order.
std::string MaskFilterIdentifiers(const std::string& text, std::vector<std::string>& identifiers);

// A Windows-form path (backslash separators) as the native path string that names the same file:
// every backslash a slash on POSIX, unchanged on Windows.
std::string NativeSeparators(std::string windowsForm);

// Text with LF line ends as a program's standard output carries it: unchanged on POSIX, with
// CR LF on Windows, whose C runtime writes standard output in text mode.
std::string ConsoleText(const std::string& text);

// What a finished program left behind.
struct ProgramResult {
    // As a POSIX shell sees it, 0 to 255: the low byte of a Windows exit code (so -4 is 252),
    // 1 for a non-zero Windows code whose low byte is 0, as Wine passes it on.
    int exitCode = -1;
    std::string output;
    std::string errorOutput;
};

// Runs a program with arguments in a working folder; unprivileged runs it as the user nobody
// (POSIX only: on Windows it throws).
ProgramResult RunProgram(const std::vector<std::string>& command, const std::string& workingDir,
                         bool unprivileged = false);

// Sets an environment variable of this process, or removes it for nullptr (on Windows also for an
// empty value), until the end of the scope, which brings the old value back; programs started
// meanwhile inherit it.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const std::string& name, const char* value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    // Sets or (for nullptr) removes the variable; the only part that differs on Windows.
    static void Set(const std::string& name, const char* value);

    std::string name_;
    std::optional<std::string> saved_;
};

// What separates the folders of PATH: ';' on Windows, ':' elsewhere.
extern const char kPathListSeparator;

#ifndef _WIN32
// Runs work with the effective user and group of nobody, then becomes root again; the file system
// then checks permissions as for an unprivileged user.
void AsUnprivilegedUser(const std::function<void()>& work);

// Makes a folder and everything below it readable and writable by everyone (for runs as nobody).
void OpenToEveryone(const std::string& path);
#endif

// The text with the timestamp of every report title line replaced by "<timestamp>", when it has
// the form YYYY-MM-DD HH:MM:SS.
std::string MaskReportTimestamp(const std::string& text);

// The text with the build date of every banner line replaced by "<build date>", when it has the
// compiler's form, as in "Sep 30 2022".
std::string MaskBuildDate(const std::string& text);

// The two banner lines of the built Tamrivo, its build date masked as MaskBuildDate does.
std::string MaskedBanner();

// The built Tamrivo executable and the project's source folder.
std::string TamrivoExecutable();
std::string ProjectSourceDir();

}  // namespace tamrivo::testing
