// Exports that open offline and recently deleted charts.
#include <windows.h>

#include <cstdint>

#include "MT4/Windows.h"
#include "exports/Arguments.h"
#include "exports/Frame.h"

namespace {

using Terminal = Utils::Pointer<MT4::Windows>;

} // namespace

extern "C" {

int32_t WINAPI VelmorOpenOfflineChart(const char* symbol, const char* period)
{
    return Frame::Call("VelmorOpenOfflineChart()", 0,
        [=] { return AsInteger(Terminal()->OpenOfflineChart(Text(symbol), Text(period))); });
}

int32_t WINAPI VelmorOpenOfflineChartW(const wchar_t* symbol, const wchar_t* period)
{
    return Frame::Call("VelmorOpenOfflineChartW()", 0,
        [=] { return AsInteger(Terminal()->OpenOfflineChart(Text(symbol), Text(period))); });
}

int32_t WINAPI VelmorOpenDeletetChart(int32_t number)
{
    return Frame::Call(
        "VelmorOpenDeletetChart()", 0, [=] { return AsInteger(Terminal()->OpenDeletetChart(number)); });
}

} // extern "C"
