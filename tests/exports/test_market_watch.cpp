// The Market Watch exports through the real DLL against the stand-in's
// list: the symbols into a caller's string elements, the row of a symbol and
// the symbol of a row.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "MT4/MqlString.h"
#include "StandIn.h"
#include "support/BoxWatcher.h"
#include "support/Library.h"

using Support::Box;

namespace {

using AllSymbolsFn = int32_t(WINAPI*)(MT4::MqlString*, int32_t);
using IntOfTextFn = int32_t(WINAPI*)(const char*);
using TextOfIntFn = const char*(WINAPI*)(int32_t);

constexpr char Guard = '\xCD';

StandIn::Scenario WithSymbols(const std::vector<std::string>& symbols)
{
    StandIn::Scenario scenario = StandIn::Scenario::Named("english");
    scenario.marketWatch.clear();
    for (const std::string& symbol : symbols)
        scenario.marketWatch.push_back({ symbol, "1.00000", "1.00010" });
    return scenario;
}

class MarketWatchTest : public ::testing::Test {
protected:
    explicit MarketWatchTest(StandIn::Scenario scenario = WithSymbols({ "EURUSDm", "EURUSD", "GBPUSD", "USDJPY" }))
        : terminal(scenario)
    {
    }
    void SetUp() override { library.Get<Support::VoidOfIntFn>("VelmorInit")(0); }

    HWND List() const { return terminal.Handles().marketWatchList; }
    int Selected() const
    {
        return static_cast<int>(SendMessageA(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    }

    StandIn::Terminal terminal;
    Support::Library library;
    Support::BoxWatcher boxes;
    AllSymbolsFn allSymbols = library.Get<AllSymbolsFn>("VelmorGetAllSymbols");
    Support::IntFn numberTools = library.Get<Support::IntFn>("VelmorGetNumberTools");
    IntOfTextFn lineBySymbol = library.Get<IntOfTextFn>("VelmorLineBySymbol");
    TextOfIntFn symbolByLine = library.Get<TextOfIntFn>("VelmorSymbolByLine");
};

// A caller's elements, each with a buffer of its capacity followed by guard bytes.
struct Elements {
    explicit Elements(std::vector<int32_t> capacities)
    {
        for (int32_t capacity : capacities) {
            buffers.emplace_back(static_cast<size_t>(capacity > 0 ? capacity : 0) + 8, Guard);
            elements.push_back({ capacity, buffers.back().data() });
        }
    }
    // The bytes of element i's buffer and guards.
    std::string Bytes(size_t i) const { return std::string(buffers[i].begin(), buffers[i].end()); }

    std::vector<std::vector<char>> buffers;
    std::vector<MT4::MqlString> elements;
};

TEST_F(MarketWatchTest, SymbolsFillOnlyTheCallersElementsAndEachWithinItsCapacity)
{
    // Four rows; the caller says three elements and holds a fourth it did not offer.
    Elements array({ 16, 4, 0, 16 });
    EXPECT_EQ(allSymbols(array.elements.data(), 3), 3);
    EXPECT_EQ(array.Bytes(0), std::string("EURUSDm\0", 8) + std::string(16, Guard));
    EXPECT_EQ(array.Bytes(1), std::string("EUR\0", 4) + std::string(8, Guard));  // cut, still terminated
    EXPECT_EQ(array.Bytes(2), std::string(8, Guard));                            // no room at all
    EXPECT_EQ(array.Bytes(3), std::string(24, Guard));                           // never offered
    EXPECT_EQ(array.elements[1].capacity, 4);                                    // elements stay as they were
    EXPECT_EQ(array.elements[1].buffer, array.buffers[1].data());

    Elements exact({ 8, 7, 7, 7, 7 });
    EXPECT_EQ(allSymbols(exact.elements.data(), 5), 4);
    EXPECT_EQ(exact.Bytes(0).substr(0, 8), std::string("EURUSDm\0", 8));
    EXPECT_EQ(exact.Bytes(2), std::string("GBPUSD\0", 7) + std::string(8, Guard));
    EXPECT_EQ(exact.Bytes(4), std::string(15, Guard));
    EXPECT_EQ(Selected(), -1);  // reading the column selects nothing
    EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(MarketWatchTest, ASizeBelowOneIsRefusedBeforeAnythingIsWritten)
{
    Elements array({ 16 });
    EXPECT_EQ(allSymbols(array.elements.data(), 0), -1);
    EXPECT_EQ(allSymbols(array.elements.data(), -5), -1);
    EXPECT_EQ(allSymbols(nullptr, 3), -1);
    EXPECT_EQ(array.Bytes(0), std::string(24, Guard));
    const Box size { "VelmorGetAllSymbols()", "Метод \"MT4::Windows::GetAllSymbols()\".\nНеверно указан размер массива." };
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { size, size,
            { "VelmorGetAllSymbols()", "Метод \"MT4::Windows::GetAllSymbols()\".\nНе указан массив." } }));
}

TEST_F(MarketWatchTest, RowOfASymbolIsTheFirstRowThatBeginsWithIt)
{
    EXPECT_EQ(numberTools(), 4);
    EXPECT_EQ(lineBySymbol("EURUSD"), 0);  // EURUSDm comes first
    EXPECT_EQ(lineBySymbol("EURUSDm"), 0);
    EXPECT_EQ(lineBySymbol("GBP"), 2);
    EXPECT_EQ(lineBySymbol(""), 0);
    EXPECT_EQ(lineBySymbol("eurusd"), -1);
    EXPECT_EQ(lineBySymbol("XAUUSD"), -1);
    EXPECT_EQ(Selected(), -1);
    EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(MarketWatchTest, SymbolOfARowLeavesTheRowSelectedAndARowBeyondTheListIsReported)
{
    EXPECT_STREQ(symbolByLine(3), "USDJPY");
    EXPECT_EQ(Selected(), 3);
    EXPECT_STREQ(symbolByLine(0x10001), "EURUSD");  // the row is 16-bit
    EXPECT_STREQ(symbolByLine(4), "");
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { { "VelmorSymbolByLine()",
            "Метод \"Utils::Controls::ListView::Visible()\".\nНомер введённой строки превышает общее количество "
            "строк." } }));
}

class EmptyMarketWatchTest : public MarketWatchTest {
protected:
    EmptyMarketWatchTest() : MarketWatchTest(WithSymbols({})) { }
};

TEST_F(EmptyMarketWatchTest, AnEmptyListGivesNoSymbolsAndNoRow)
{
    Elements array({ 16 });
    EXPECT_EQ(allSymbols(array.elements.data(), 1), 0);
    EXPECT_EQ(array.Bytes(0), std::string(24, Guard));
    EXPECT_EQ(numberTools(), 0);
    EXPECT_EQ(lineBySymbol(""), -1);
    EXPECT_TRUE(boxes.Take().empty());
}

}  // namespace
