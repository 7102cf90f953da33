// The Market Watch exports through the real DLL against the stand-in's
// list: the symbols into a caller's string elements, the row of a symbol and
// the symbol of a row, charts opened by row and by symbol.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <process.h>

#include "MT4/MqlString.h"
#include "StandIn.h"
#include "Utils/Wait.h"
#include "support/BoxWatcher.h"
#include "support/Library.h"

using Support::Box;

namespace {

using AllSymbolsFn = int32_t(WINAPI*)(MT4::MqlString*, int32_t);
using IntOfTextFn = int32_t(WINAPI*)(const char*);
using TextOfIntFn = const char*(WINAPI*)(int32_t);
using OpenByNumberFn = int32_t(WINAPI*)(int32_t, char*, int32_t);
using OpenByNameFn = int32_t(WINAPI*)(const char*, const char*);

HWND AsHandle(int32_t value) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(value)); }

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
    // The row the terminal acts on: the list lets rows be selected together,
    // and the one selected last has the focus.
    int Selected() const
    {
        return static_cast<int>(
            SendMessageA(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED | LVNI_FOCUSED));
    }

    StandIn::Terminal terminal;
    Support::Library library;
    Support::BoxWatcher boxes;
    AllSymbolsFn allSymbols = library.Get<AllSymbolsFn>("VelmorGetAllSymbols");
    Support::IntFn numberTools = library.Get<Support::IntFn>("VelmorGetNumberTools");
    IntOfTextFn lineBySymbol = library.Get<IntOfTextFn>("VelmorLineBySymbol");
    TextOfIntFn symbolByLine = library.Get<TextOfIntFn>("VelmorSymbolByLine");
    OpenByNumberFn openByNumber = library.Get<OpenByNumberFn>("VelmorOpenChartByNumber");
    OpenByNameFn openByName = library.Get<OpenByNameFn>("VelmorOpenChartByName");

    HWND TopChart() const { return GetDlgItem(GetTopWindow(terminal.Handles().chartArea), 0xE900); }
    // A late terminal brings a new chart to the top after it has answered.
    bool ComesOnTop(int32_t chart) const
    {
        return Utils::Wait::Until([&] { return TopChart() == AsHandle(chart); }, 10, 2000);
    }
    size_t Charts() const
    {
        size_t count = 0;
        for (HWND frame = GetTopWindow(terminal.Handles().chartArea); frame; frame = GetWindow(frame, GW_HWNDNEXT))
            ++count;
        return count;
    }
    // The first thing the terminal received: the command to the list.
    void ExpectTheOpenCommandFirst()
    {
        const std::vector<StandIn::Event> events = terminal.Log().Take();
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(events.front(),
            (StandIn::Event { StandIn::Event::Command, List(), WM_COMMAND, 33160, 0, "", terminal.UiThread() }));
    }
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

TEST_F(MarketWatchTest, OpenByRowHasTheTerminalOpenTheRowsChartOnTopAndCopiesTheSymbol)
{
    char buffer[12];
    std::memset(buffer, Guard, sizeof buffer);
    terminal.Log().Clear();
    const int32_t chart = openByNumber(2, buffer, 10);
    ASSERT_NE(chart, 0);
    // The terminal brings the new chart to the top (a late terminal a moment
    // after the chart appears).
    EXPECT_TRUE(ComesOnTop(chart));
    EXPECT_EQ(terminal.Chart(AsHandle(chart)).symbol, "GBPUSD");
    EXPECT_EQ(terminal.Chart(AsHandle(chart)).period, 60);
    EXPECT_EQ(Selected(), 2);
    ExpectTheOpenCommandFirst();
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string("GBPUSD\0", 7) + std::string(5, Guard));

    // A buffer too small takes what fits and its terminating zero; size 0
    // none; a size far beyond the buffer still writes only the symbol and its
    // zero.
    std::memset(buffer, Guard, sizeof buffer);
    const int32_t third = openByNumber(0x10003, buffer, 4);  // the row is 16-bit: 3
    ASSERT_NE(third, 0);
    EXPECT_EQ(std::string(buffer, 6), std::string("USD\0", 4) + Guard + Guard);
    EXPECT_EQ(terminal.Chart(AsHandle(third)).symbol, "USDJPY");
    std::memset(buffer, Guard, sizeof buffer);
    EXPECT_NE(openByNumber(1, buffer, 0), 0);
    EXPECT_NE(openByNumber(1, nullptr, 8), 0);
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(sizeof buffer, Guard));
    EXPECT_NE(openByNumber(1, buffer, 0x7FFFFFFF), 0);
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string("EURUSD\0", 7) + std::string(5, Guard));
    EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(MarketWatchTest, OpenByRowBeyondTheListIsReportedAndSendsNoCommand)
{
    const size_t charts = Charts();
    terminal.Log().Clear();
    EXPECT_EQ(openByNumber(4, nullptr, 0), 0);
    EXPECT_EQ(Charts(), charts);
    EXPECT_TRUE(terminal.Log().Take().empty());
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { { "VelmorOpenChartByNumber()",
            "Метод \"Utils::Controls::ListView::GetText()\".\nУказан неверный номер строки." } }));
}

TEST_F(MarketWatchTest, OpenBySymbolTakesTheRowThatEqualsItAndSetsAGivenTimeframe)
{
    terminal.Log().Clear();
    const int32_t eurusd = openByName("EURUSD", "");  // not EURUSDm above it
    ASSERT_NE(eurusd, 0);
    ExpectTheOpenCommandFirst();
    EXPECT_TRUE(ComesOnTop(eurusd));
    EXPECT_EQ(terminal.Chart(AsHandle(eurusd)).symbol, "EURUSD");
    EXPECT_EQ(terminal.Chart(AsHandle(eurusd)).period, 60);  // untouched
    EXPECT_EQ(Selected(), 1);

    const int32_t gbpusd = openByName("GBPUSD", "H4");
    ASSERT_NE(gbpusd, 0);
    EXPECT_EQ(terminal.Chart(AsHandle(gbpusd)).symbol, "GBPUSD");
    // The timeframe command is posted: the terminal's thread serves this
    // test's sent read of the chart before it, so the switch is waited for.
    EXPECT_TRUE(Utils::Wait::Until([&] { return terminal.Chart(AsHandle(gbpusd)).period == 240; }, 10, 5000));
    EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(MarketWatchTest, OpenBySymbolThatIsNotListedWalksEveryRowAndOpensNothing)
{
    const size_t charts = Charts();
    terminal.Log().Clear();
    EXPECT_EQ(openByName("XAUUSD", ""), 0);
    EXPECT_EQ(openByName("eurusd", "H4"), 0);
    EXPECT_EQ(Selected(), 3);  // the walk ended on the last row
    EXPECT_EQ(Charts(), charts);
    EXPECT_TRUE(terminal.Log().Take().empty());
    const Box missing { "VelmorOpenChartByName()",
        "Ошибка в методе \"MT4::Windows::OpenChartByName()\". Не найден инструмент." };
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { missing, missing }));
}

// Two programs open charts at once: each gets the chart of its own symbol.
struct Opener {
    OpenByNameFn openByName;
    const char* symbol;
    std::vector<int32_t> charts;

    static unsigned __stdcall Run(void* self)
    {
        auto& opener = *static_cast<Opener*>(self);
        for (int i = 0; i < 4; ++i)
            opener.charts.push_back(opener.openByName(opener.symbol, ""));
        return 0;
    }
};

TEST_F(MarketWatchTest, TwoProgramsOpeningChartsAtOnceEachGetTheirOwnSymbol)
{
    Opener first { openByName, "GBPUSD", {} }, second { openByName, "USDJPY", {} };
    HANDLE threads[] = { reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, Opener::Run, &first, 0, nullptr)),
        reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, Opener::Run, &second, 0, nullptr)) };
    WaitForMultipleObjects(2, threads, TRUE, 60000);
    CloseHandle(threads[0]);
    CloseHandle(threads[1]);
    auto symbols = [&](const Opener& opener) {
        std::vector<std::string> opened;
        for (int32_t chart : opener.charts)
            opened.push_back(chart ? terminal.Chart(AsHandle(chart)).symbol : "(none)");
        return opened;
    };
    EXPECT_EQ(symbols(first), std::vector<std::string>(4, "GBPUSD"));
    EXPECT_EQ(symbols(second), std::vector<std::string>(4, "USDJPY"));
    EXPECT_TRUE(boxes.Take().empty());
}

class RefusingMarketWatchTest : public MarketWatchTest {
protected:
    static StandIn::Scenario Refusing()
    {
        StandIn::Scenario scenario = WithSymbols({ "EURUSD", "GBPUSD" });
        scenario.ignoredCommands = { 33160 };
        return scenario;
    }
    RefusingMarketWatchTest() : MarketWatchTest(Refusing()) { }
};

// A terminal that opens no chart: no chart that was there before is given as
// the new one, nor switched to the timeframe asked for.
TEST_F(RefusingMarketWatchTest, ACommandThatOpensNoChartGivesNoChartAndChangesNone)
{
    const HWND top = TopChart();
    const int period = terminal.Chart(top).period;
    EXPECT_EQ(openByName("GBPUSD", "H4"), 0);
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { { "VelmorOpenChartByName()",
            "Ошибка в методе \"MT4::Windows::OpenChartByName()\".\nНе получен системный дескриптор окна графика." } }));
    EXPECT_EQ(TopChart(), top);
    EXPECT_EQ(terminal.Chart(top).period, period);
}

class LaggingMarketWatchTest : public MarketWatchTest {
protected:
    static StandIn::Scenario Lagging()
    {
        StandIn::Scenario scenario = WithSymbols({ "EURUSD", "GBPUSD" });
        scenario.lagMs = 300;
        return scenario;
    }
    LaggingMarketWatchTest() : MarketWatchTest(Lagging()) { }
};

// The terminal opens the chart late: the chart on top meanwhile is not it.
TEST_F(LaggingMarketWatchTest, AChartThatOpensLateIsTheOneGiven)
{
    const HWND top = TopChart();
    const int32_t chart = openByName("GBPUSD", "");
    ASSERT_NE(chart, 0);
    EXPECT_NE(AsHandle(chart), top);
    EXPECT_EQ(terminal.Chart(AsHandle(chart)).symbol, "GBPUSD");
    EXPECT_TRUE(boxes.Take().empty());
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
