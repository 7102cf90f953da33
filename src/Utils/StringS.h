#pragma once
// ANSI text functions (the terminal's code page, 1251): upper case, counting
// substrings, fixed character sets, numbers in texts, the copy into a
// caller's buffer, and the conversion between UTF-16 and the terminal's code
// page.
#include <cstddef>
#include <cstdint>
#include <string>

namespace Utils::StringS {

// Upper-cases the whole text in place with the system's rules for the ANSI
// code page (Cyrillic included); an empty text is left alone.
void UpperA(std::string& text);

// The text without the blanks " \n\r\t" at both ends.
std::string StripA(const std::string& text);

// The number of non-overlapping occurrences of `sub` in `text`, searched from
// the start. An empty text throws the range text; an empty sub throws.
uint32_t NumberSubStringsDirectA(const std::string& text, const std::string& sub);

// The fixed character sets.
enum CharSet : uint32_t {
    Digits,                  // "0123456789"
    DigitsPoint,             // ".0123456789"
    Hexadecimal,             // "0123456789abcdefABCDEF"
    Octal,                   // "01234567"
    LatinLower,
    LatinLowerDigits,
    LatinUpper,
    LatinUpperDigits,
    Latin,
    LatinDigits,
    CyrillicLower,           // 33 letters with "ё"
    CyrillicLowerDigits,
    CyrillicUpper,           // 33 letters with "Ё"
    CyrillicUpperDigits,
    Cyrillic,
    CyrillicDigits,
    Questions49,             // 49 question marks
    Questions49Digits,
    Questions25,
    Questions25Digits,
    Questions24,
    Questions24Digits,
    CharSetCount,
};

// The set with that id; any other id throws.
const std::string& CharSetA(uint32_t id);

// A decimal ("-12", "0", "00", "0.5", "+7.25"), hexadecimal ("0x1F") or
// octal ("017") text as a number, cut to its low 16 bits. An empty text is 0;
// a text of none of the three forms throws.
uint16_t StringToNumberA(const std::string& text);

// A zero-terminated UTF-16 text in the terminal's ANSI code page (no text is
// the empty one). A text with a character the code page does not hold
// throws "Метод \"Utils::StringS::ToAnsi()\".\nТекст содержит символы,
// которых нет в кодовой странице терминала." — it is never replaced by '?'.
std::string ToAnsi(const wchar_t* text);

// A text of the terminal's ANSI code page in UTF-16.
std::wstring ToWide(const std::string& text);

}  // namespace Utils::StringS

namespace Utils::StringC {

// Copies `text` with its terminating zero into the caller's buffer of `size`
// bytes; a text that does not fit (or no buffer) throws and nothing is copied.
void AnsiToCurrentCode(const std::string& text, char* buffer, size_t size);

}  // namespace Utils::StringC
