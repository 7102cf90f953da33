// Market Watch as the quotes loader uses it: a signed row below zero is
// refused, one above 16 bits is not wrapped round to a row of the list.
#include <gtest/gtest.h>

#include "MT4/Windows.h"
#include "support/Thrown.h"

namespace {

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
