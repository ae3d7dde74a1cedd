#include <windows.h>

#include "platform/FileAccess.h"
#include "platform/FileSystemCalls.h"
#include "platform/OutputFile.h"

namespace tamrivo {

unsigned long ProcessId() {
    return GetCurrentProcessId();
}

bool NameTaken(const boost::system::error_code& error) {
    return error.value() == ERROR_FILE_EXISTS || error.value() == ERROR_ALREADY_EXISTS;
}

OwnedHandle CreateNewFile(const boost::filesystem::path& path) {
    return OwnedHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
}

OwnedHandle OpenForReading(const boost::filesystem::path& path, FileKind& kind) {
    // Opening a folder needs a flag of its own and reading it fails: its attributes tell first.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    kind = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0
               ? FileKind::Folder
               : FileKind::Regular;
    if (attributes == INVALID_FILE_ATTRIBUTES || kind == FileKind::Folder) {
        return OwnedHandle();
    }
    OwnedHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.IsOpen() && GetFileType(file.Get()) != FILE_TYPE_DISK) {
        kind = FileKind::Special;  // a pipe or a console, a device
        return OwnedHandle();
    }
    return file;
}

long long ReadSome(NativeHandle file, char* bytes, std::size_t size) {
    constexpr std::size_t kLargestRead = 1u << 30;  // ReadFile counts in a DWORD
    DWORD got = 0;
    if (!ReadFile(file, bytes, static_cast<DWORD>(size < kLargestRead ? size : kLargestRead), &got,
                  nullptr)) {
        return -1;
    }
    return got;
}

bool SameEntryName(const boost::filesystem::path& first, const boost::filesystem::path& second) {
    return CompareStringOrdinal(first.c_str(), -1, second.c_str(), -1, TRUE) == CSTR_EQUAL;
}

bool IsReadOnlyFile(const boost::filesystem::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
           (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

boost::system::error_code WriteAll(NativeHandle file, const char* bytes, std::size_t size) {
    constexpr std::size_t kLargestWrite = 1u << 30;  // WriteFile counts in a DWORD
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(size < kLargestWrite ? size : kLargestWrite);
        DWORD written = 0;
        if (!WriteFile(file, bytes, chunk, &written, nullptr)) {
            return LastCallError();
        }
        bytes += written;
        size -= written;
    }
    return {};
}

bool FlushToDisk(NativeHandle file) {
    return FlushFileBuffers(file);
}

bool RenameReplacing(const boost::filesystem::path& from, const boost::filesystem::path& to) {
    return MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool RemoveFile(const boost::filesystem::path& path) {
    return DeleteFileW(path.c_str());
}

}  // namespace tamrivo
