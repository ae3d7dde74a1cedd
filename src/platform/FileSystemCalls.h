#pragma once

#include <boost/filesystem/path.hpp>
#include <boost/system/error_code.hpp>
#include <cstddef>

#include "platform/OwnedHandle.h"

namespace tamrivo {

// The system calls behind the run's own files, one file of them per platform
// (FileSystemCallsPosix.cpp, FileSystemCallsWindows.cpp). A call that fails leaves its reason in
// LastCallError.

// The number of this process, as the system shows it.
unsigned long ProcessId();

// True when creating a file failed only because its name is taken.
bool NameTaken(const boost::system::error_code& error);

// Creates a new file for writing, exclusively: never through an existing name or link. It gets the
// permissions that a newly created file gets from the process. No handle when it failed.
OwnedHandle CreateNewFile(const boost::filesystem::path& path);

// What stands at a path that was opened for reading.
enum class FileKind {
    Regular,
    Folder,
    Special,  // a FIFO, a device or a socket
};

// Opens what stands at path (through links) for reading, without blocking on it, and tells its
// kind; only a regular file stays open. No handle when it is of another kind or opening failed.
OwnedHandle OpenForReading(const boost::filesystem::path& path, FileKind& kind);

// Reads up to size bytes; how many were read (0 at the end of the file), or -1 when it failed.
long long ReadSome(NativeHandle file, char* bytes, std::size_t size);

// True when two names of entries in one folder name the same entry: equal, on Windows in any case.
bool SameEntryName(const boost::filesystem::path& first, const boost::filesystem::path& second);

// Writes every byte to the file; the error that stopped it, if any.
boost::system::error_code WriteAll(NativeHandle file, const char* bytes, std::size_t size);

// Flushes what was written to the file to the disk; false when it failed.
bool FlushToDisk(NativeHandle file);

// Renames from over to, replacing whatever stands at to (a link itself, not its target); false
// when it failed.
bool RenameReplacing(const boost::filesystem::path& from, const boost::filesystem::path& to);

// Removes a file; false when it failed.
bool RemoveFile(const boost::filesystem::path& path);

}  // namespace tamrivo
