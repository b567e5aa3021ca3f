#pragma once
// What the fuzz targets share: a check of a property that ends the run (libFuzzer then keeps
// the input that broke it), and a reader that takes typed values from the front of an input.
// A target asserts what must hold for every input, not only that nothing crashed.

#include "debug_capture.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// Checked in every build type (the fuzz build defines NDEBUG).
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace brenik::test {

// Reads an input from the front; past its end every read gives zeros and empty pieces, so a
// target never needs to check the length itself.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t Remaining() const { return size_ - position_; }
    bool Empty() const { return Remaining() == 0; }

    std::uint8_t Byte() { return position_ < size_ ? data_[position_++] : 0; }
    std::uint16_t Word() { return static_cast<std::uint16_t>(Byte() | (Byte() << 8)); }
    bool Flag() { return (Byte() & 1) != 0; }

    // Up to n bytes (fewer at the end of the input).
    std::string_view Bytes(std::size_t n) {
        const std::size_t take = n < Remaining() ? n : Remaining();
        const std::string_view piece(reinterpret_cast<const char*>(data_) + position_, take);
        position_ += take;
        return piece;
    }
    // A piece whose length is the next byte.
    std::string_view Piece() { return Bytes(Byte()); }
    std::string_view Rest() { return Bytes(Remaining()); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

// Each input starts with no debugger lines, so the recorder neither grows without end nor
// holds a line from an earlier input.
inline void StartInput() { ClearDebugLines(); }

}  // namespace brenik::test
