#include "crypto/HashSha1.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

#include "Sha1Peer.h"

namespace mz::crypto::stream::hash {
namespace {

using Digest = std::array<unsigned char, 20>;
using Root = stream<Digest, void>;

const unsigned char* Data(const std::string& bytes) {
    return reinterpret_cast<const unsigned char*>(bytes.data());
}

// Hashes the message in one update, through the root class as a caller of the family would.
std::string HexOf(const std::string& message) {
    hash_sha1 hash;
    Root& root = hash;
    root.update(Data(message), message.size());
    root.pad();
    return hash.hex_digest();
}

// The bytes of a hexadecimal text.
Digest DigestOfHex(const std::string& hex) {
    Digest digest{};
    for (std::size_t i = 0; i < digest.size(); ++i) {
        digest[i] = static_cast<unsigned char>(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
    }
    return digest;
}

// A message of every byte value in turn, zero and 0x80 included.
std::string Pattern(std::size_t length) {
    std::string message;
    for (std::size_t i = 0; i < length; ++i) {
        message += static_cast<char>((i * 7 + 3) & 0xFF);
    }
    return message;
}

void ExpectPeerDigests(const std::vector<std::string>& messages) {
    const std::vector<std::string> expected = tamrivo::testing::PeerSha1Digests(messages);
    for (std::size_t i = 0; i < messages.size(); ++i) {
        hash_sha1 hash;
        hash.update(Data(messages[i]), messages[i].size());
        EXPECT_EQ(hash.finish(), DigestOfHex(expected[i])) << "message " << i;
        EXPECT_EQ(hash.hex_digest(), expected[i]) << "message " << i;
    }
}

TEST(HashSha1, StandardTestMessagesMatchThePeerAndThePublishedDigests) {
    const std::vector<std::string> messages = {
        "abc", "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
        std::string(1000000, 'a')};
    ExpectPeerDigests(messages);
    EXPECT_EQ(HexOf(messages[0]), "a9993e364706816aba3e25717850c26c9cd0d89d");
    EXPECT_EQ(HexOf(messages[1]), "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
    EXPECT_EQ(HexOf(messages[2]), "34aa973cd4c4daa4f61eeb2bdbad27316534016f");
}

TEST(HashSha1, EveryLengthUpTo130AndTheBoundaryLengthsMatchThePeer) {
    std::vector<std::string> messages;
    for (std::size_t length = 0; length <= 130; ++length) {
        messages.push_back(Pattern(length));
    }
    // Where the padding needs a second block and where update fills a block exactly.
    for (const std::size_t length : {55, 56, 63, 64, 65, 119, 120, 127, 128}) {
        messages.push_back(std::string(length, 'a'));
        messages.push_back(std::string(length, '\x80'));
    }
    ExpectPeerDigests(messages);
}

TEST(HashSha1, FeedingInPiecesGivesTheDigestOfTheWholeMessage) {
    const std::string message = Pattern(130);
    const std::string whole = HexOf(message);
    for (std::size_t first = 0; first <= message.size(); ++first) {
        for (std::size_t second = first; second <= message.size(); ++second) {
            hash_sha1 hash;
            hash.update(Data(message), first);
            hash.update(Data(message) + first, second - first);
            hash.update(Data(message) + second, message.size() - second);
            hash.pad();
            ASSERT_EQ(hash.hex_digest(), whole) << "split at " << first << " and " << second;
        }
    }
    hash_sha1 byByte;
    for (const char byte : message) {
        byByte.update(Data(std::string(1, byte)), 1);
    }
    EXPECT_EQ(byByte.finish(), DigestOfHex(whole));
}

TEST(HashSha1, ResetStartsANewMessageAndDigestChangesNothing) {
    hash_sha1 hash;
    hash.update(Data(Pattern(100)), 100);
    hash.pad();
    const Digest first = hash.digest();
    EXPECT_EQ(hash.digest(), first);
    EXPECT_EQ(hash.hex_digest(), HexOf(Pattern(100)));

    hash.reset();
    hash.update(Data("abc"), 3);
    EXPECT_EQ(hash.finish(), DigestOfHex(HexOf("abc")));
    hash.reset();
    EXPECT_EQ(hash.finish(), DigestOfHex(HexOf("")));
}

TEST(HashSha1, HexDigestWritesTheBytesInOrderHighFourBitsFirst) {
    // A message whose digest begins with the byte 0x0A.
    std::string message;
    hash_sha1 hash;
    for (int i = 0; hash.digest()[0] != 0x0A; ++i) {
        message = "message " + std::to_string(i);
        hash.reset();
        hash.update(Data(message), message.size());
        hash.pad();
    }
    EXPECT_EQ(hash.hex_digest().substr(0, 2), "0a");
    EXPECT_EQ(hash.hex_digest(), tamrivo::testing::PeerSha1Digests({message})[0]);
}

}  // namespace
}  // namespace mz::crypto::stream::hash
