#pragma once

#include <cstddef>

namespace mz::crypto::stream {

// A stream of bytes that ends in a result of type Result. Key is the type of the key that a keyed
// stream takes; void for a stream without one, such as a plain hash.
template <typename Result, typename Key>
class stream {
  public:
    using result_type = Result;

    // Nothing to release: a stream owns no memory of its own.
    virtual ~stream() = default;
    // Back to the initial state, ready for a new message.
    virtual void reset() = 0;
    // Feeds count bytes.
    virtual void update(const unsigned char* bytes, std::size_t count) = 0;
    // Ends the message: appends what the algorithm appends and processes what is left.
    virtual void pad() = 0;
    // pad, then digest.
    virtual result_type finish() = 0;
    // The result of the padded message; changes nothing.
    virtual result_type digest() const = 0;
};

}  // namespace mz::crypto::stream
