#pragma once

#include <boost/filesystem/path.hpp>
#include <boost/system/error_code.hpp>
#include <streambuf>
#include <vector>

#include "platform/OwnedHandle.h"

namespace tamrivo {

// An input file of the run, open for reading its bytes unchanged.
struct InputFile {
    OwnedHandle handle;
    bool isFolder = false;   // what stands at the path is a folder, not opened
    bool isSpecial = false;  // a FIFO, a device or a socket, not opened: it might never end
};

// Opens what stands at path (through links) for reading, never blocking on it: only a regular
// file is opened; a folder or a special file is not, and file says which it is. Gives the error
// that kept a file from being opened.
boost::system::error_code OpenInputFile(const boost::filesystem::path& path, InputFile& file);

// The stream buffer over an input file: reads it in large pieces. A read that fails ends the
// stream as its end would, and its error is kept.
class InputFileBuffer : public std::streambuf {
  public:
    explicit InputFileBuffer(InputFile& file);

    // The error of the read that failed, if one did.
    boost::system::error_code Error() const { return error_; }

  protected:
    int_type underflow() override;

  private:
    InputFile& file_;
    std::vector<char> bytes_;
    boost::system::error_code error_;
};

}  // namespace tamrivo
