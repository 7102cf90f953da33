#pragma once
// The elements of a string array that an MQL4 program passes, and the
// caller's array as the library sees it. Older terminals pass ANSI elements
// (the capacity in bytes, then the buffer); today's pass UTF-16 elements (the
// capacity in wide characters, the buffer, a reserved field). Capacities count
// the terminating zero. The library writes into the buffers and never changes
// the elements themselves.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Utils/StringS.h"

namespace MT4 {

namespace Detail {

// As much of `text` as `capacity` characters hold, then the terminating
// zero; no buffer or no room for the zero leaves the buffer alone.
template <class Char, class Text>
void WriteCut(const Text& text, Char* buffer, int32_t capacity)
{
    if (capacity <= 0 || !buffer)
        return;
    const size_t length = text.size() < static_cast<size_t>(capacity) - 1 ? text.size() : capacity - 1;
    text.copy(buffer, length);
    buffer[length] = Char();
}

}  // namespace Detail

struct MqlString {
    int32_t capacity;
    char* buffer;

    // The text in the buffer; empty for an element without a buffer.
    std::string Text() const { return buffer ? std::string(buffer) : std::string(); }
    void Write(const std::string& text) const { Detail::WriteCut(text, buffer, capacity); }
};

struct MqlStringW {
    int32_t capacity;
    wchar_t* buffer;
    int32_t reserved;

    // The text in the terminal's code page; a character it lacks throws.
    std::string Text() const { return Utils::StringS::ToAnsi(buffer); }
    void Write(const std::string& text) const { Detail::WriteCut(Utils::StringS::ToWide(text), buffer, capacity); }
};

#ifndef _WIN64
static_assert(sizeof(MqlString) == 8, "the 32-bit string element: capacity, then pointer");
static_assert(sizeof(MqlStringW) == 12 && offsetof(MqlStringW, buffer) == 4,
    "the 32-bit wide string element: capacity, pointer, reserved");
#endif

// The caller's string array of either element kind: no array is a null one.
class StringArray {
public:
    StringArray(const MqlString* elements) : m_ansi(elements) {}
    StringArray(const MqlStringW* elements) : m_wide(elements) {}

    bool Null() const { return !m_ansi && !m_wide; }
    std::string Read(size_t i) const { return m_ansi ? m_ansi[i].Text() : m_wide[i].Text(); }
    void Write(size_t i, const std::string& text) const
    {
        if (m_ansi)
            m_ansi[i].Write(text);
        else
            m_wide[i].Write(text);
    }

private:
    const MqlString* m_ansi = nullptr;
    const MqlStringW* m_wide = nullptr;
};

}  // namespace MT4
