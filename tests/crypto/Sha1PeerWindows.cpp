// The SHA-1 peer on Windows: the system's own implementation, through the CNG functions.
#include <windows.h>
// bcrypt.h needs the types of windows.h.
#include <bcrypt.h>

#include <stdexcept>

#include "Sha1Peer.h"

namespace tamrivo::testing {
namespace {

void Check(NTSTATUS status, const char* what) {
    if (!BCRYPT_SUCCESS(status)) {
        throw std::runtime_error(std::string("CNG SHA-1: ") + what + " failed");
    }
}

// Closes the algorithm provider when it goes out of scope.
struct Provider {
    BCRYPT_ALG_HANDLE handle = nullptr;
    ~Provider() { BCryptCloseAlgorithmProvider(handle, 0); }
};

std::string Hex(const unsigned char* bytes, std::size_t size) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (std::size_t i = 0; i < size; ++i) {
        hex += kDigits[bytes[i] >> 4];
        hex += kDigits[bytes[i] & 0x0F];
    }
    return hex;
}

}  // namespace

std::vector<std::string> PeerSha1Digests(const std::vector<std::string>& messages) {
    Provider provider;
    Check(BCryptOpenAlgorithmProvider(&provider.handle, BCRYPT_SHA1_ALGORITHM, nullptr, 0),
          "opening the provider");
    std::vector<std::string> digests;
    for (const std::string& message : messages) {
        BCRYPT_HASH_HANDLE hash = nullptr;
        Check(BCryptCreateHash(provider.handle, &hash, nullptr, 0, nullptr, 0, 0),
              "creating a hash");
        std::string bytes = message;  // BCryptHashData takes a pointer to mutable bytes
        unsigned char digest[20];
        const NTSTATUS hashed = BCryptHashData(hash, reinterpret_cast<PUCHAR>(bytes.data()),
                                               static_cast<ULONG>(bytes.size()), 0);
        const NTSTATUS finished = BCryptFinishHash(hash, digest, sizeof digest, 0);
        BCryptDestroyHash(hash);
        Check(hashed, "hashing");
        Check(finished, "finishing");
        digests.push_back(Hex(digest, sizeof digest));
    }
    return digests;
}

}  // namespace tamrivo::testing
