#pragma once
// An element of a string array that an MQL4 program passes: the capacity of
// the element's character buffer in bytes (the terminating zero included),
// then the buffer. The library writes into the buffers and never changes the
// elements themselves.
#include <cstdint>
#include <string>

namespace MT4 {

struct MqlString {
    int32_t capacity;
    char* buffer;

    // The text in the buffer; empty for an element without a buffer.
    std::string Text() const { return buffer ? std::string(buffer) : std::string(); }
    // As much of `text` as the capacity holds, then the terminating zero; an
    // element without room for the zero is left alone.
    void Write(const std::string& text) const
    {
        if (capacity <= 0 || !buffer)
            return;
        const size_t length = text.size() < static_cast<size_t>(capacity) - 1 ? text.size() : capacity - 1;
        text.copy(buffer, length);
        buffer[length] = '\0';
    }
};

#ifndef _WIN64
static_assert(sizeof(MqlString) == 8, "the 32-bit string element: capacity, then pointer");
#endif

}  // namespace MT4
