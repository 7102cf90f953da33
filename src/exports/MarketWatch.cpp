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

// The symbol into the caller's buffer of `size` bytes, cut so that its
// terminating zero always fits. Only the symbol and its zero are written:
// a size larger than the buffer really is (a common slip in a program) must
// not make the library zero memory far beyond it.
void CopySymbol(const std::string& symbol, char* buffer, int32_t size)
{
    MT4::MqlString { size, buffer }.Write(symbol);
}

}  // namespace

extern "C" {

int32_t WINAPI VelmorGetAllSymbols(MT4::MqlString* array, int32_t size)
{
    return Frame::Call("VelmorGetAllSymbols()", -1, [=] { return Terminal()->GetAllSymbols(array, size); });
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

const char* WINAPI VelmorSymbolByLine(int32_t row)
{
    return Frame::Call("VelmorSymbolByLine()", Frame::EmptyText, [=] {
        Utils::Pointer<MT4::SyncText> text;
        return text->Set(Terminal()->SymbolByLine(static_cast<uint16_t>(row)));
    });
}

int32_t WINAPI VelmorOpenChartByNumber(int32_t row, char* buffer, int32_t size)
{
    return Frame::Call("VelmorOpenChartByNumber()", 0, [=] {
        std::string symbol;
        HWND chart = Terminal()->OpenChartByNumber(static_cast<uint16_t>(row), symbol);
        CopySymbol(symbol, buffer, size);
        return AsInteger(chart);
    });
}

int32_t WINAPI VelmorOpenChartByName(const char* symbol, const char* timeframe)
{
    return Frame::Call("VelmorOpenChartByName()", 0, [=] {
        return AsInteger(Terminal()->OpenChartByName(Text(symbol), Text(timeframe)));
    });
}

}  // extern "C"
