// Exports of Market Watch: its symbols, the row of a symbol, charts opened
// for a symbol.
#include <windows.h>


#include "MT4/SyncText.h"
#include "MT4/Windows.h"
#include "Utils/Controls.h"
#include "exports/Arguments.h"
#include "exports/Frame.h"

namespace {

using Terminal = Utils::Pointer<MT4::Windows>;

// Opens the chart of a row and writes its symbol into the caller's buffer of
// `size` characters, cut so that its terminating zero always fits. Only the
// symbol and its zero are written: a size larger than the buffer really is (a
// common slip in a program) must not make the library zero memory far beyond
// it. `Element` is the string element of the buffer's kind.
template <class Element, class Char>
int32_t OpenChartByNumber(int32_t row, Char* buffer, int32_t size)
{
    std::string symbol;
    HWND chart = Terminal()->OpenChartByNumber(static_cast<uint16_t>(row), symbol);
    Element { size, buffer }.Write(symbol);
    return AsInteger(chart);
}

}  // namespace

extern "C" {

int32_t WINAPI VelmorGetAllSymbols(MT4::MqlString* array, int32_t size)
{
    return Frame::Call("VelmorGetAllSymbols()", -1, [=] { return Terminal()->GetAllSymbols(array, size); });
}

int32_t WINAPI VelmorGetAllSymbolsW(MT4::MqlStringW* array, int32_t size)
{
    return Frame::Call("VelmorGetAllSymbolsW()", -1, [=] { return Terminal()->GetAllSymbols(array, size); });
}

int32_t WINAPI VelmorGetNumberTools()
{
    return Frame::Call("VelmorGetNumberTools()", -1, [] {
        return static_cast<int32_t>(Utils::Controls::ListView::GetItem(Terminal()->MarketWatchList()).rows);
    });
}

int32_t WINAPI VelmorLineBySymbol(const char* symbol)
{
    return Frame::Call("VelmorLineBySymbol()", -1,
        [=] { return static_cast<int32_t>(Terminal()->LineBySymbol(Text(symbol))); });
}

int32_t WINAPI VelmorLineBySymbolW(const wchar_t* symbol)
{
    return Frame::Call("VelmorLineBySymbolW()", -1,
        [=] { return static_cast<int32_t>(Terminal()->LineBySymbol(Text(symbol))); });
}

const char* WINAPI VelmorSymbolByLine(int32_t row)
{
    return Frame::Call("VelmorSymbolByLine()", Frame::EmptyText,
        [=] { return Result(Terminal()->SymbolByLine(static_cast<uint16_t>(row))); });
}

const wchar_t* WINAPI VelmorSymbolByLineW(int32_t row)
{
    return Frame::Call("VelmorSymbolByLineW()", Frame::EmptyWide,
        [=] { return WideResult(Terminal()->SymbolByLine(static_cast<uint16_t>(row))); });
}

int32_t WINAPI VelmorOpenChartByNumber(int32_t row, char* buffer, int32_t size)
{
    return Frame::Call(
        "VelmorOpenChartByNumber()", 0, [=] { return OpenChartByNumber<MT4::MqlString>(row, buffer, size); });
}

int32_t WINAPI VelmorOpenChartByNumberW(int32_t row, wchar_t* buffer, int32_t size)
{
    return Frame::Call(
        "VelmorOpenChartByNumberW()", 0, [=] { return OpenChartByNumber<MT4::MqlStringW>(row, buffer, size); });
}

int32_t WINAPI VelmorOpenChartByName(const char* symbol, const char* timeframe)
{
    return Frame::Call("VelmorOpenChartByName()", 0, [=] {
        return AsInteger(Terminal()->OpenChartByName(Text(symbol), Text(timeframe)));
    });
}

int32_t WINAPI VelmorOpenChartByNameW(const wchar_t* symbol, const wchar_t* timeframe)
{
    return Frame::Call("VelmorOpenChartByNameW()", 0, [=] {
        return AsInteger(Terminal()->OpenChartByName(Text(symbol), Text(timeframe)));
    });
}

}  // extern "C"
