#pragma once

#include <cstdint>
#include <string>

namespace tamrivo {

// The fixed part of a program's version data, field for field as Windows keeps it.
struct FixedFileInfo {
    std::uint32_t signature;      // kFixedFileInfoSignature
    std::uint32_t structVersion;  // kFixedFileInfoStructVersion
    std::uint32_t fileVersionMS;  // the first two parts of the file version, 16 bits each
    std::uint32_t fileVersionLS;  // its last two parts
    std::uint32_t productVersionMS;
    std::uint32_t productVersionLS;
    std::uint32_t fileFlagsMask;
    std::uint32_t fileFlags;
    std::uint32_t fileOS;
    std::uint32_t fileType;
    std::uint32_t fileSubtype;
    std::uint32_t fileDateMS;
    std::uint32_t fileDateLS;
};

inline constexpr std::uint32_t kFixedFileInfoSignature = 0xFEEF04BD;
inline constexpr std::uint32_t kFixedFileInfoStructVersion = 0x00010000;

// The size in bytes of the version data of the program file at programPath; 0 when it has none.
// A path without a slash is a program that was found on PATH: on Linux it is read from
// /proc/self/exe, the running program's own file. On Windows a file name without an extension
// gets ".exe", as when the program was started by that name.
std::uint32_t VersionInfoSize(const std::string& programPath);

// Fills data, size bytes as VersionInfoSize gave them, with the version data of the program
// file; false when it has none.
bool ReadVersionInfo(const std::string& programPath, std::uint32_t size, void* data);

// Finds one value in version data that ReadVersionInfo filled: the sub-block "\" gives the
// FixedFileInfo, "\StringFileInfo\<table>\<key>" a NUL-ended text; false when it is missing.
bool QueryVersionValue(const void* data, const std::string& subBlock, const void*& value,
                       std::uint32_t& length);

}  // namespace tamrivo
