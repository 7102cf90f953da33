// Market Watch: the symbols of its list, the row of a symbol, and charts
// opened for a symbol by the terminal's own command.
#include <windows.h>

#include <algorithm>

#include "MT4/Windows.h"
#include "Utils/Controls.h"
#include "Utils/Errors.h"
#include "Utils/Wait.h"

namespace MT4 {

namespace {

namespace ListView = Utils::Controls::ListView;

// The terminal's command that opens a chart for the selected symbol.
constexpr WPARAM OpenChartCommand = 33160;
constexpr UINT ChartViewId = 0xE900;

}  // namespace

int32_t Windows::GetAllSymbols(const StringArray& array, int32_t size)
{
    if (size <= 0)
        throw "Метод \"MT4::Windows::GetAllSymbols()\".\nНеверно указан размер массива.";
    if (array.Null())
        throw "Метод \"MT4::Windows::GetAllSymbols()\".\nНе указан массив.";
    const std::vector<std::string> symbols = ListView::GetTextItem(MarketWatchList());
    // No more elements than the caller has, no more bytes than each holds.
    const size_t count = std::min(symbols.size(), static_cast<size_t>(size));
    for (size_t i = 0; i < count; ++i)
        array.Write(i, symbols[i]);
    return static_cast<int32_t>(count);
}

int16_t Windows::LineBySymbol(const std::string& symbol)
{
    const std::vector<std::string> symbols = ListView::GetTextItem(MarketWatchList());
    for (size_t row = 0; row < symbols.size(); ++row)
        if (symbols[row].compare(0, symbol.size(), symbol) == 0)
            return static_cast<int16_t>(row);
    return -1;
}

std::string Windows::SymbolByLine(uint16_t row)
{
    HWND list = MarketWatchList();
    ListView::Visible(list, row);
    return ListView::GetText(list, row, 0);
}

HWND Windows::OpenChartByNumber(uint16_t row, std::string& symbol)
{
    return OpenChartAt("OpenChartByNumber", row, symbol);
}

HWND Windows::OpenChartByNumber(int32_t row, std::string& symbol)
{
    if (row < 0)
        throw "Ошибка в методе \"MT4::Windows::OpenChartByNumber()\".\nВыбран неверный номер строки.";
    return OpenChartAt("OpenChartByNumber", static_cast<uint32_t>(row), symbol);
}

HWND Windows::OpenChartAt(const char* method, uint32_t row, std::string& symbol)
{
    Utils::Sync::Lock<Utils::Sync::Mutex> lock(GetMutex(MutexMarketWatch));
    HWND list = MarketWatchList();
    symbol = ListView::GetText(list, row, 0);
    ListView::Visible(list, row);
    return NewChart(method);
}

HWND Windows::OpenChartByName(const std::string& symbol, const std::string& timeframe)
{
    HWND list = MarketWatchList();
    const uint16_t rows = ListView::GetItem(list).rows;
    HWND chart = nullptr;
    {
        Utils::Sync::Lock<Utils::Sync::Mutex> lock(GetMutex(MutexMarketWatch));
        uint16_t row = 0;
        while (row < rows && ListView::GetText(list, row, 0) != symbol)
            ++row;
        if (row == rows)
            throw "Ошибка в методе \"MT4::Windows::OpenChartByName()\". Не найден инструмент.";
        ListView::Visible(list, row);
        chart = NewChart("OpenChartByName");
        if (!timeframe.empty())
            SetTimeframeByName(chart, timeframe);
    }
    return chart;
}

// The row is selected: the terminal opens its chart. Only a chart that was
// not there before the command is the new one.
HWND Windows::NewChart(const char* method)
{
    const std::string name = std::string("MT4::Windows::") + method;
    const std::vector<HWND> charts = Charts();
    Utils::Controls::Send(name.c_str(), MarketWatchList(), WM_COMMAND, OpenChartCommand, 0);
    Utils::Wait::Pause(50);
    Utils::Controls::Send(name.c_str(), MainTarget(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_chartArea), 0);
    HWND chart = WaitForNewChart(charts);
    if (!chart)
        throw Utils::Error::Method(name, "Не получен системный дескриптор окна графика.");
    return chart;
}

}  // namespace MT4
