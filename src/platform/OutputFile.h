#pragma once

#include <boost/filesystem/path.hpp>
#include <boost/system/error_code.hpp>
#include <cstddef>
#include <cstdint>

namespace tamrivo {

// A new file beside an output, where the output's bytes are written before it takes the output's
// place: whatever stands at the output's path (an older file, a link, a FIFO) is never opened,
// and a run that fails or is killed leaves it as it was.
struct OutputFile {
    boost::filesystem::path path;  // "<output>.tmp-<process id>-<random>": whose it is
    std::intptr_t handle = -1;     // a descriptor, on Windows a HANDLE; -1 when closed
    bool placed = false;           // renamed over the output: nothing left to remove

    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    // Closes the file and, unless it was placed, removes it.
    ~OutputFile();
};

// Creates the new file for output in output's folder, exclusively: never through an existing name
// or link. It gets the permissions that a newly created file gets from the process.
boost::system::error_code CreateOutputFile(const boost::filesystem::path& output, OutputFile& file);

// Appends bytes to the file.
boost::system::error_code WriteOutputFile(OutputFile& file, const char* bytes, std::size_t size);

// Flushes the written file to the disk and closes it.
boost::system::error_code FinishOutputFile(OutputFile& file);

// Renames the finished file over output, replacing whatever stands there (a link itself, not its
// target).
boost::system::error_code PlaceOutputFile(OutputFile& file, const boost::filesystem::path& output);

}  // namespace tamrivo
