// The SHA-1 peer on POSIX systems: coreutils' sha1sum, run on the messages written to files.
#include "Sha1Peer.h"

#include <sstream>
#include <stdexcept>

#include "TestSupport.h"

namespace tamrivo::testing {

std::vector<std::string> PeerSha1Digests(const std::vector<std::string>& messages) {
    TempDir dir;
    std::vector<std::string> command = {"sha1sum"};
    for (std::size_t i = 0; i < messages.size(); ++i) {
        const std::string name = "message" + std::to_string(i);
        WriteFile(dir / name, messages[i]);
        command.push_back(name);
    }
    const ProgramResult result = RunProgram(command, dir.path());
    if (result.exitCode != 0) {
        throw std::runtime_error("sha1sum failed: " + result.errorOutput);
    }
    // Each line: the digest, two blanks, the file name.
    std::vector<std::string> digests;
    std::istringstream lines(result.output);
    std::string digest;
    std::string name;
    while (lines >> digest >> name) {
        if (name != "message" + std::to_string(digests.size())) {
            throw std::runtime_error("unexpected sha1sum line for " + name);
        }
        digests.push_back(digest);
    }
    if (digests.size() != messages.size()) {
        throw std::runtime_error("sha1sum gave " + std::to_string(digests.size()) + " digests");
    }
    return digests;
}

}  // namespace tamrivo::testing
