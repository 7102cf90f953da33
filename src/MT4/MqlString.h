#pragma once
// An element of a string array that an MQL4 program passes: the capacity of
// the element's character buffer in bytes (the terminating zero included),
// then the buffer. The library writes into the buffers and never changes the
// elements themselves.
#include <cstdint>

namespace MT4 {

struct MqlString {
    int32_t capacity;
    char* buffer;
};

#ifndef _WIN64
static_assert(sizeof(MqlString) == 8, "the 32-bit string element: capacity, then pointer");
#endif

}  // namespace MT4
