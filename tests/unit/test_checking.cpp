// The range rule and the array copy built on it: the cuts at the container's
// end, unsigned overflow, and every rejection text.
#include <gtest/gtest.h>

#include "Utils/Checking.h"

namespace {

using Utils::Checking::GetCountDirect;

std::string Rejection(const char* method, bool totalZero, uint32_t total, uint32_t start, uint32_t count)
{
    return std::string("\nФункция \"Utils::Checking::GetCountDirect()\" обнаружила ошибку в методе \"") + method
        + "()\".\n" + (totalZero ? "Количество всех элементов равно нулю.\n" : "")
        + "Номер стартового элемента больше или равен количеству всех элементов.\n"
          "Количество всех элементов: "
        + std::to_string(total) + "\nСтартовый элемент: " + std::to_string(start)
        + "\nКоличество элементов: " + std::to_string(count) + "\n";
}

std::string Thrown(uint32_t total, uint32_t start, uint32_t count)
{
    try {
        GetCountDirect("Utils::Memory::Base::CheckSizeMemory", total, start, count);
    } catch (const std::string& text) {
        return text;
    }
    return "no throw";
}

TEST(GetCountDirectTest, CutsRequestsAtTheEndOfTheContainer)
{
    EXPECT_EQ(GetCountDirect("M", 10, 8, 5), 2u);
    EXPECT_EQ(GetCountDirect("M", 10, 8, 0xFFFFFFFF), 2u);
    EXPECT_EQ(GetCountDirect("M", 10, 2, 5), 5u);
    EXPECT_EQ(GetCountDirect("M", 10, 2, 8), 8u);  // exactly to the end
    EXPECT_EQ(GetCountDirect("M", 10, 9, 1), 1u);  // the last element
    EXPECT_EQ(GetCountDirect("M", 10, 2, 9), 8u);  // one past the end
    // start + count wraps past 0xFFFFFFFF: cut, not accepted as small
    EXPECT_EQ(GetCountDirect("M", 10, 5, 0xFFFFFFFC), 5u);
    EXPECT_EQ(GetCountDirect("M", 0xFFFFFFFF, 0xFFFFFFFE, 2), 1u);
}

TEST(GetCountDirectTest, RejectsAStartAtOrPastTheEndAndAnEmptyContainer)
{
    EXPECT_EQ(Thrown(10, 10, 1), Rejection("Utils::Memory::Base::CheckSizeMemory", false, 10, 10, 1));
    EXPECT_EQ(Thrown(10, 11, 0xFFFFFFFF),
        Rejection("Utils::Memory::Base::CheckSizeMemory", false, 10, 11, 0xFFFFFFFF));
    EXPECT_EQ(Thrown(0, 0, 3), Rejection("Utils::Memory::Base::CheckSizeMemory", true, 0, 0, 3));
}

TEST(GetCountDirectTest, CountZeroGivesTheShortTextWhateverTheRest)
{
    const std::string expected = "Функция \"Utils::Checking::GetCountDirect()\" обнаружила ошибку в методе "
                                 "\"Utils::Memory::Base::CheckSizeMemory()\".\nОтсутствует количество элементов.";
    EXPECT_EQ(Thrown(10, 2, 0), expected);
    EXPECT_EQ(Thrown(0, 0, 0), expected);
    EXPECT_EQ(Thrown(10, 10, 0), expected);
}

TEST(ArrayCopyTest, WritesNoMoreThanTheSourceOrTheArrayHolds)
{
    const uint32_t source[3] = { 11, 22, 33 };
    uint32_t small[3] = { 0xAA, 0xAA, 0xAA };
    Utils::Array::Copy(source, 3, small, 2);
    EXPECT_EQ(std::vector<uint32_t>(small, small + 3), (std::vector<uint32_t> { 11, 22, 0xAA }));
    uint32_t large[6] = { 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA };
    Utils::Array::Copy(source, 3, large, 5);
    EXPECT_EQ(std::vector<uint32_t>(large, large + 6), (std::vector<uint32_t> { 11, 22, 33, 0xAA, 0xAA, 0xAA }));
}

TEST(ArrayCopyTest, SizeZeroAndEmptySourceThrowTheRangeTexts)
{
    const uint32_t source[1] = { 1 };
    uint32_t target[1] = { 0xAA };
    try {
        Utils::Array::Copy(source, 1, target, 0);
        FAIL() << "no throw";
    } catch (const std::string& text) {
        EXPECT_EQ(text,
            "Функция \"Utils::Checking::GetCountDirect()\" обнаружила ошибку в методе \"Utils::Array::Copy()\".\n"
            "Отсутствует количество элементов.");
    }
    try {
        Utils::Array::Copy(source, 0, target, 1);
        FAIL() << "no throw";
    } catch (const std::string& text) {
        EXPECT_EQ(text, Rejection("Utils::Array::Copy", true, 0, 0, 1));
    }
    EXPECT_EQ(target[0], 0xAAu);
}

}  // namespace
