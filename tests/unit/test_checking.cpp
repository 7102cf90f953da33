// The range rule and the array copy built on it, and the loader's row refused below zero and not wrapped above 16 bits.
#include <gtest/gtest.h>
#include <array>
#include "Common.h"
#include "MT4/Windows.h"
#include "Utils/Checking.h"
#include "support/Thrown.h"

namespace {

using Utils::Checking::GetCountDirect;

TEST(GetCountDirectTest, CutsAtTheEndAndRejectsWithItsTexts)
{
    const uint32_t cuts[][4] = { { 10, 8, 5, 2 }, { 10, 8, 0xFFFFFFFF, 2 }, { 10, 2, 5, 5 }, { 10, 2, 8, 8 },
        { 10, 9, 1, 1 }, { 10, 2, 9, 8 }, { 10, 5, 0xFFFFFFFC, 5 } /* start + count wraps */,
        { 0xFFFFFFFF, 0xFFFFFFFE, 2, 1 } };
    for (const auto& [total, start, count, cut] : cuts)
        EXPECT_EQ(GetCountDirect("M", total, start, count), cut) << total << " " << start << " " << count;
    const char* method = "Utils::Memory::Base::CheckSizeMemory";
    const auto thrown = [&](uint32_t total, uint32_t start, uint32_t count) {
        return Support::Thrown([&] { GetCountDirect(method, total, start, count); });
    };
    for (const auto& [total, start, count] : { std::array<uint32_t, 3> { 10, 10, 1 }, { 10, 11, ~0u }, { 0, 0, 3 } })
        EXPECT_EQ(thrown(total, start, count), Rejection(method, total, start, count));
    for (const auto& [total, start] : { std::pair { 10, 2 }, { 0, 0 }, { 10, 10 } })  // count zero: the short text
        EXPECT_EQ(thrown(total, start, 0), Head(method) + "\nОтсутствует количество элементов.");
}

TEST(ArrayCopyTest, WritesNoMoreThanTheSourceOrTheArrayHolds)
{
    const uint32_t source[3] = { 11, 22, 33 };
    uint32_t small[3] = { 0xAA, 0xAA, 0xAA }, target[6] = { 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA };
    Utils::Array::Copy(source, 3, small, 2);
    EXPECT_EQ(std::vector<uint32_t>(small, small + 3), (std::vector<uint32_t> { 11, 22, 0xAA }));
    Utils::Array::Copy(source, 3, target, 5);
    EXPECT_EQ(std::vector<uint32_t>(target, target + 6), (std::vector<uint32_t> { 11, 22, 33, 0xAA, 0xAA, 0xAA }));
    EXPECT_EQ(Support::Thrown([&] { Utils::Array::Copy(source, 1, target, 0); }),
        Head("Utils::Array::Copy") + "\nОтсутствует количество элементов.");
    EXPECT_EQ(Support::Thrown([&] { Utils::Array::Copy(source, 0, target + 5, 1); }),
        Rejection("Utils::Array::Copy", 0, 0, 1));
    EXPECT_EQ(target[5], 0xAAu);
}

TEST(MarketWatchLoaderFormTest, NegativeRowsAreRefusedAndLargeRowsAreNotWrapped)
{
    Utils::Pointer<MT4::Windows> terminal;
    std::string symbol = "unchanged";
    EXPECT_EQ(Support::Thrown([&] { terminal->OpenChartByNumber(int32_t { -1 }, symbol); }),
        "Ошибка в методе \"MT4::Windows::OpenChartByNumber()\".\nВыбран неверный номер строки.");
    EXPECT_EQ(Support::Thrown([&] { terminal->OpenChartByNumber(int32_t { 65536 }, symbol); }),
        "Метод \"Utils::Controls::ListView::GetText()\".\nУказан неверный номер строки.");
    EXPECT_EQ(symbol, "unchanged");
}

}  // namespace
