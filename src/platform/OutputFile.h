#pragma once

#include <boost/filesystem/path.hpp>
#include <boost/system/error_code.hpp>
#include <streambuf>
#include <vector>

#include "platform/OwnedHandle.h"

namespace tamrivo {

// A new file beside an output, where the output's bytes are written before it takes the output's
// place: whatever stands at the output's path (an older file, a link, a FIFO) is never opened,
// and a run that fails or is killed leaves it as it was.
struct OutputFile {
    boost::filesystem::path path;  // "<output>.tmp-<process id>-<random>": whose it is
    OwnedHandle handle;            // closed once the file is finished
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

// Flushes the written file to the disk and closes it.
boost::system::error_code FinishOutputFile(OutputFile& file);

// Renames the finished file over output, replacing whatever stands there (a link itself, not its
// target).
boost::system::error_code PlaceOutputFile(OutputFile& file, const boost::filesystem::path& output);

// True when two output paths name the same entry of the same folder, however spelt: the same name
// (on Windows in any case) in folders that are one, also through links.
bool NameTheSameEntry(const boost::filesystem::path& first, const boost::filesystem::path& second);

// True when a file stands at path itself (not a link) that its owner made read-only: without
// write permission for its owner, on Windows with the read-only attribute (in the system calls'
// file of each platform).
bool IsReadOnlyFile(const boost::filesystem::path& path);

// The one buffer between the lines of an output and its file: collects bytes and hands them to
// the file in large writes. The first failed write is kept and every byte after it dropped.
class OutputFileBuffer : public std::streambuf {
  public:
    explicit OutputFileBuffer(OutputFile& file);

    // Hands the collected bytes to the file; gives the first write error met, if any.
    boost::system::error_code Drain();

  protected:
    int_type overflow(int_type byte) override;
    int sync() override;

  private:
    OutputFile& file_;
    std::vector<char> bytes_;
    boost::system::error_code error_;
};

}  // namespace tamrivo
