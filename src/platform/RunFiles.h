#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include <boost/filesystem/path.hpp>

namespace tamrivo {

// Reads one input file of the run through read. A file that cannot be read (a folder, no
// permission, a read error) is reported on output as a "Tamrivo error: " line, read still sees
// an unopened stream (and so no lines), and the result is false.
bool ReadRunInput(const std::string& what, const std::string& path,
                  const std::function<void(std::istream&)>& read, std::ostream& output);

// Writes one output file of the run through write, into a new file that replaces the output only
// once it is whole; the output's path is left as it was on any failure. An output that would land
// on one of the run's input files is refused; one that cannot be created or fully written is
// reported. Each of these is a "Tamrivo error: " line on output naming the path in its native
// form, and gives false.
bool WriteRunOutput(const std::string& what, const boost::filesystem::path& path,
                    const std::vector<std::string>& inputPaths,
                    const std::function<void(std::ostream&)>& write, std::ostream& output);

}  // namespace tamrivo
