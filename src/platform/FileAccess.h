#pragma once

#include <boost/filesystem/fstream.hpp>
#include <boost/filesystem/path.hpp>
#include <boost/system/error_code.hpp>
#include <string>

namespace tamrivo {

// The native path for a narrow path string from the command line or the walk (on Windows the
// string is in the ANSI code page, converted by the path library's default conversion).
boost::filesystem::path NativePath(const std::string& text);

// The native path for a path string that Windows-form rules produced (backslash separators);
// where the backslash is no separator it becomes a slash.
boost::filesystem::path NativePathFromWindowsForm(const std::string& text);

// The path with each run of separators made one and the separators at its end dropped, but for
// those of its root, which stay as written: "/", on Windows "C:\", "\\server" and "\\?\C:\".
std::string WithoutExtraSeparators(const std::string& path);

// The narrow string of a native path or name (ANSI code page on Windows; the bytes elsewhere).
std::string NarrowString(const boost::filesystem::path& path);

// Creates or empties a file for writing bytes unchanged.
void OpenOutputFile(boost::filesystem::ofstream& stream, const boost::filesystem::path& path);

// The error of the system call that just failed (GetLastError on Windows, errno elsewhere).
boost::system::error_code LastCallError();

}  // namespace tamrivo
