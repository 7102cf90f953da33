#include "Utils/StringS.h"

#include <windows.h>

#include <cstring>
#include <cwchar>
#include <sstream>

#include "Utils/Checking.h"
#include "Utils/Errors.h"

namespace Utils::StringS {

void UpperA(std::string& text)
{
    if (text.empty())
        return;
    const uint32_t count
        = Checking::GetCountDirect("Utils::StringS::UpperA", static_cast<uint32_t>(text.size()), 0, 0xFFFFFFFF);
    CharUpperBuffA(&text[0], count);
}

std::string StripA(const std::string& text)
{
    const char* const blanks = " \n\r\t";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

uint32_t NumberSubStringsDirectA(const std::string& text, const std::string& sub)
{
    const uint32_t length = Checking::GetCountDirect(
        "Utils::StringS::NumberSubStringsDirectA", static_cast<uint32_t>(text.size()), 0, 0xFFFFFFFF);
    if (sub.empty())
        throw "В методе \"Utils::StringS::NumberSubStringsDirectA()\" отсутсвует искомая подстрока.";
    uint32_t found = 0;
    for (size_t at = text.find(sub); at != std::string::npos && at < length; at = text.find(sub, at + sub.size()))
        ++found;
    return found;
}

namespace {

const char* const DigitsText = "0123456789";
const char* const LatinLowerText = "abcdefghijklmnopqrstuvwxyz";
const char* const LatinUpperText = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
const char* const CyrillicLowerText = "абвгдеёжзийклмнопрстуфхцчшщъыьэюя";
const char* const CyrillicUpperText = "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ";

std::string Questions(size_t count) { return std::string(count, '?'); }

const std::string Sets[CharSetCount] = {
    DigitsText,
    std::string(".") + DigitsText,
    "0123456789abcdefABCDEF",
    "01234567",
    LatinLowerText,
    std::string(LatinLowerText) + DigitsText,
    LatinUpperText,
    std::string(LatinUpperText) + DigitsText,
    std::string(LatinLowerText) + LatinUpperText,
    std::string(LatinLowerText) + LatinUpperText + DigitsText,
    CyrillicLowerText,
    std::string(CyrillicLowerText) + DigitsText,
    CyrillicUpperText,
    std::string(CyrillicUpperText) + DigitsText,
    std::string(CyrillicLowerText) + CyrillicUpperText,
    std::string(CyrillicLowerText) + CyrillicUpperText + DigitsText,
    Questions(49),
    Questions(49) + DigitsText,
    Questions(25),
    Questions(25) + DigitsText,
    Questions(24),
    Questions(24) + DigitsText,
};

bool AllOf(const std::string& text, size_t from, const std::string& set)
{
    return text.find_first_not_of(set, from) == std::string::npos;
}

// An optional sign, then decimal digits with at most one point; a leading
// zero only when the whole part is zero ("0", "00", "0.5").
bool IsDecimal(const std::string& text)
{
    size_t at = (text[0] == '-' || text[0] == '+') ? 1 : 0;
    const size_t point = text.find('.', at);
    const std::string whole = text.substr(at, point == std::string::npos ? std::string::npos : point - at);
    const std::string fraction = point == std::string::npos ? std::string() : text.substr(point + 1);
    const std::string& digits = CharSetA(Digits);
    if (!AllOf(whole, 0, digits) || !AllOf(fraction, 0, digits) || whole.size() + fraction.size() == 0)
        return false;
    return whole.size() < 2 || whole[0] != '0' || AllOf(whole, 0, "0");
}

}  // namespace

const std::string& CharSetA(uint32_t id)
{
    if (id >= CharSetCount)
        throw "Ошибка в методе \"Utils::StringS::CharSetA()\".\nВыбран не существующий набор символов.";
    return Sets[id];
}

uint16_t StringToNumberA(const std::string& text)
{
    if (text.empty())
        return 0;
    std::istringstream in(text);
    if (IsDecimal(text))
        in >> std::dec;
    else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')
        && AllOf(text, 2, CharSetA(Hexadecimal)))
        in >> std::hex;
    else if (text[0] == '0' && AllOf(text, 1, CharSetA(Octal)))
        in >> std::oct;
    else
        throw "Метод \"Utils::StringS::StringToNumberA()\".\nСтрока не является числом.";
    long long value = 0;
    in >> value;
    return static_cast<uint16_t>(value);
}

std::string ToAnsi(const wchar_t* text)
{
    if (!text || !*text)
        return std::string();
    const size_t length = std::wcslen(text);
    if (length > 0x7FFFFFFF)
        throw "Метод \"Utils::StringS::ToAnsi()\".\nТекст слишком длинный.";
    const int count = static_cast<int>(length);
    // Without best-fit mappings, a character the code page lacks comes out
    // as the default character and says so.
    BOOL replaced = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, count, nullptr, 0, nullptr, &replaced);
    if (size <= 0)
        throw Error::Argument("Utils::StringS::ToAnsi", "Текст не переведён в кодовую страницу терминала.")
            + Error::LastError();
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, count, result.data(), size, nullptr, &replaced);
    if (replaced)
        throw "Метод \"Utils::StringS::ToAnsi()\".\nТекст содержит символы, которых нет в кодовой странице терминала.";
    return result;
}

std::wstring ToWide(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    const int count = static_cast<int>(text.size());
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), count, nullptr, 0);
    std::wstring result(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), count, result.data(), size);
    return result;
}

}  // namespace Utils::StringS

namespace Utils::StringC {

void AnsiToCurrentCode(const std::string& text, char* buffer, size_t size)
{
    if (!buffer || text.size() >= size)
        throw "Ошибка в методе \"Utils::StringC::AnsiToCurrentCode()\".\nСтрока не скопирована.";
    std::memcpy(buffer, text.c_str(), text.size() + 1);
}

}  // namespace Utils::StringC
