// The Market Watch exports against the stand-in's list: symbols into a caller's elements, rows, charts opened.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <cstring>
#include <thread>
#include "MT4/MqlString.h"
#include "Utils/Wait.h"
#include "support/TerminalTest.h"

using Support::Box;

namespace {

using AllSymbolsFn = int32_t(WINAPI*)(MT4::MqlString*, int32_t);
using IntOfTextFn = int32_t(WINAPI*)(const char*);
using TextOfIntFn = const char*(WINAPI*)(int32_t);
using OpenByNumberFn = int32_t(WINAPI*)(int32_t, char*, int32_t);
using OpenByNameFn = int32_t(WINAPI*)(const char*, const char*);

HWND AsHandle(int32_t value) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(value)); }

constexpr char Guard = '\xCD';

StandIn::Scenario WithSymbols(const std::vector<std::string>& symbols, std::vector<UINT> ignored = {})
{
    StandIn::Scenario scenario = StandIn::Scenario::Named("english");
    scenario.marketWatch.clear();
    for (const std::string& symbol : symbols)
        scenario.marketWatch.push_back({ symbol, "1.00000", "1.00010" });
    scenario.ignoredCommands = ignored;
    return scenario;
}

struct Elements {  // a caller's elements, each buffer followed by guard bytes
    explicit Elements(std::vector<int32_t> capacities)
    {
        for (int32_t capacity : capacities) {
            buffers.emplace_back(static_cast<size_t>(capacity > 0 ? capacity : 0) + 8, Guard);
            elements.push_back({ capacity, buffers.back().data() });
        }
    }
    std::string Bytes(size_t i) const { return std::string(buffers[i].begin(), buffers[i].end()); }
    std::vector<std::vector<char>> buffers;
    std::vector<MT4::MqlString> elements;
};

class MarketWatchTest : public Support::TerminalTest {
protected:
    explicit MarketWatchTest(const StandIn::Scenario& scenario = WithSymbols({ "EURUSDm", "EURUSD", "GBPUSD", "USDJPY" }))
        : TerminalTest(scenario) { }
    HWND List() const { return terminal.Handles().marketWatchList; }
    int Selected() const { return int(SendMessageA(List(), LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED | LVNI_FOCUSED)); }
    HWND TopChart() const { return GetDlgItem(GetTopWindow(terminal.Handles().chartArea), 0xE900); }
    size_t Charts() const
    {
        size_t count = 0;
        for (HWND frame = GetTopWindow(terminal.Handles().chartArea); frame; frame = GetWindow(frame, GW_HWNDNEXT))
            ++count;
        return count;
    }
    // One chart more, of `symbol`, opened by the command and brought on top.
    void ExpectNewChart(int32_t chart, const std::string& symbol, size_t before)
    {
        ASSERT_NE(chart, 0);
        EXPECT_EQ(Charts(), before + 1);
        EXPECT_TRUE(Utils::Wait::Until([&] { return TopChart() == AsHandle(chart); }, 10, 2000));
        EXPECT_EQ(terminal.Chart(AsHandle(chart)).symbol, symbol);
        const std::vector<StandIn::Event> events = terminal.Log().Take();  // a late terminal's activations too
        const auto command = std::find_if(events.begin(), events.end(), [](auto& e) { return e.kind == e.Command; });
        ASSERT_NE(command, events.end());
        EXPECT_EQ(*command, Expected(StandIn::Event::Command, List(), WM_COMMAND, 33160, 0));
    }
    AllSymbolsFn allSymbols = library.Get<AllSymbolsFn>("VelmorGetAllSymbols");
    Support::IntFn numberTools = library.Get<Support::IntFn>("VelmorGetNumberTools");
    IntOfTextFn lineBySymbol = library.Get<IntOfTextFn>("VelmorLineBySymbol");
    TextOfIntFn symbolByLine = library.Get<TextOfIntFn>("VelmorSymbolByLine");
    OpenByNumberFn openByNumber = library.Get<OpenByNumberFn>("VelmorOpenChartByNumber");
    OpenByNameFn openByName = library.Get<OpenByNameFn>("VelmorOpenChartByName");
};

// The row of a symbol is the first that begins with it; the symbol of a row (16 bits) leaves the row selected.
TEST_F(MarketWatchTest, SymbolsFillOnlyTheCallersElementsWithinTheirCapacityAndRowsAndSymbolsFindEachOther)
{
    Elements array({ 16, 4, 0, 16 });
    EXPECT_EQ(allSymbols(array.elements.data(), 3), 3);
    EXPECT_EQ(array.Bytes(0), std::string("EURUSDm\0", 8) + std::string(16, Guard));
    EXPECT_EQ(array.Bytes(1), std::string("EUR\0", 4) + std::string(8, Guard));  // cut, still terminated
    EXPECT_EQ(array.Bytes(2), std::string(8, Guard));                            // no room at all
    EXPECT_EQ(array.Bytes(3), std::string(24, Guard));                           // held but not offered
    EXPECT_TRUE(array.elements[1].capacity == 4 && array.elements[1].buffer == array.buffers[1].data());
    Elements exact({ 8, 7, 7, 7, 7 });  // more than the rows, GBPUSD just fits
    EXPECT_EQ(allSymbols(exact.elements.data(), 5), 4);
    EXPECT_EQ(exact.Bytes(2) + exact.Bytes(4), std::string("GBPUSD\0", 7) + std::string(23, Guard));
    EXPECT_EQ(Selected(), -1);  // reading the column selects nothing
    Elements untouched({ 16 });
    EXPECT_EQ(allSymbols(untouched.elements.data(), 0), -1);
    EXPECT_EQ(allSymbols(untouched.elements.data(), -5), -1);
    EXPECT_EQ(allSymbols(nullptr, 3), -1);
    EXPECT_EQ(untouched.Bytes(0), std::string(24, Guard));
    const Box size { "VelmorGetAllSymbols()", "Метод \"MT4::Windows::GetAllSymbols()\".\nНеверно указан размер массива." };
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { size, size,
        { "VelmorGetAllSymbols()", "Метод \"MT4::Windows::GetAllSymbols()\".\nНе указан массив." } }));
    EXPECT_EQ(numberTools(), 4);
    const std::pair<const char*, int32_t> rows[]
        = { { "EURUSD", 0 }, { "EURUSDm", 0 }, { "GBP", 2 }, { "", 0 }, { "eurusd", -1 }, { "XAUUSD", -1 } };
    for (const auto& [symbol, row] : rows)
        EXPECT_EQ(lineBySymbol(symbol), row) << symbol;
    EXPECT_EQ(Selected(), -1);
    EXPECT_STREQ(symbolByLine(3), "USDJPY");
    EXPECT_EQ(Selected(), 3);
    EXPECT_STREQ(symbolByLine(0x10001), "EURUSD");
    EXPECT_STREQ(symbolByLine(4), "");
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { { "VelmorSymbolByLine()",
        "Метод \"Utils::Controls::ListView::Visible()\".\nНомер введённой строки превышает общее количество строк." } }));
}

// Nothing opens for a row or symbol not listed; the symbol goes into the caller's buffer, cut to fit with its zero.
TEST_F(MarketWatchTest, ChartsOpenByRowAndBySymbolAndNothingOpensForARowOrSymbolNotListed)
{
    const size_t charts = Charts();
    EXPECT_EQ(openByNumber(4, nullptr, 0), 0);
    EXPECT_EQ(openByName("XAUUSD", ""), 0);
    EXPECT_EQ(openByName("eurusd", "H4"), 0);
    EXPECT_EQ(Selected(), 3);
    EXPECT_EQ(Charts(), charts);
    EXPECT_EQ(terminal.Log().Take(), std::vector<StandIn::Event> {});
    const Box missing { "VelmorOpenChartByName()", "Ошибка в методе \"MT4::Windows::OpenChartByName()\". Не найден инструмент." };
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { { "VelmorOpenChartByNumber()",
        "Метод \"Utils::Controls::ListView::GetText()\".\nУказан неверный номер строки." }, missing, missing }));
    char buffer[12];
    const auto guarded = [&] { return std::memset(buffer, Guard, sizeof buffer), buffer; };
    const auto bytes = [&](const char* text, size_t n) { return std::string(text, n) + std::string(12 - n, Guard); };
    ExpectNewChart(openByNumber(2, guarded(), 10), "GBPUSD", charts);
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(std::string(buffer, sizeof buffer), bytes("GBPUSD", 7));
    ExpectNewChart(openByNumber(0x10003, guarded(), 4), "USDJPY", charts + 1);  // the row is 16-bit: 3
    EXPECT_EQ(std::string(buffer, sizeof buffer), bytes("USD", 4));
    EXPECT_NE(openByNumber(1, guarded(), 0), 0);
    EXPECT_NE(openByNumber(1, nullptr, 8), 0);
    EXPECT_EQ(std::string(buffer, sizeof buffer), bytes("", 0));
    EXPECT_NE(openByNumber(1, buffer, 0x7FFFFFFF), 0);
    EXPECT_EQ(std::string(buffer, sizeof buffer), bytes("EURUSD", 7));
    terminal.Log().Clear();
    const int32_t eurusd = openByName("EURUSD", "");  // not EURUSDm above it
    ExpectNewChart(eurusd, "EURUSD", charts + 5);
    EXPECT_EQ(terminal.Chart(AsHandle(eurusd)).period, 60);  // untouched
    EXPECT_EQ(Selected(), 1);
    const int32_t gbpusd = openByName("GBPUSD", "H4");
    ExpectNewChart(gbpusd, "GBPUSD", charts + 6);
    EXPECT_TRUE(Utils::Wait::Until([&] { return terminal.Chart(AsHandle(gbpusd)).period == 240; }, 10, 5000));
    EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(MarketWatchTest, TwoProgramsOpeningChartsAtOnceEachGetTheirOwnSymbol)
{
    std::vector<std::string> opened[2];
    auto opener = [&](int i, const char* symbol) {
        return std::thread([&, i, symbol] {
            for (int n = 0; n < 4; ++n) {
                const int32_t chart = openByName(symbol, "");
                opened[i].push_back(chart ? terminal.Chart(AsHandle(chart)).symbol : "(none)");
            }
        });
    };
    std::thread first = opener(0, "GBPUSD"), second = opener(1, "USDJPY");
    first.join();
    second.join();
    EXPECT_EQ(opened[0], std::vector<std::string>(4, "GBPUSD"));
    EXPECT_EQ(opened[1], std::vector<std::string>(4, "USDJPY"));
    EXPECT_TRUE(boxes.Take().empty());
}

struct RefusingMarketWatchTest : MarketWatchTest {
    RefusingMarketWatchTest() : MarketWatchTest(WithSymbols({ "EURUSD", "GBPUSD" }, { 33160 })) { }
};

// A terminal that opens no chart: no chart that was there is given as the new one, nor changed.
TEST_F(RefusingMarketWatchTest, ACommandThatOpensNoChartGivesNoChartAndChangesNone)
{
    const HWND top = TopChart();
    const int period = terminal.Chart(top).period;
    EXPECT_EQ(openByName("GBPUSD", "H4"), 0);
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { { "VelmorOpenChartByName()",
        "Ошибка в методе \"MT4::Windows::OpenChartByName()\".\nНе получен системный дескриптор окна графика." } }));
    EXPECT_EQ(TopChart(), top);
    EXPECT_EQ(terminal.Chart(top).period, period);
}

}  // namespace
