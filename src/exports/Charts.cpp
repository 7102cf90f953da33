// Exports of chart enumeration, activation and closing.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "MT4/Windows.h"
#include "Utils/Checking.h"
#include "exports/Frame.h"
#include "exports/Arguments.h"

namespace {

using Terminal = Utils::Pointer<MT4::Windows>;

// The result is the first chart, not the count; without a chart the array is left alone.
int32_t GetAllHandlesCharts(int32_t* handles, uint32_t size)
{
    const std::vector<HWND> charts = Terminal()->Charts();
    if (charts.empty())
        return 0;
    std::vector<uint32_t> values;
    for (HWND chart : charts)
        values.push_back(static_cast<uint32_t>(AsInteger(chart)));
    Utils::Array::Copy(
        values.data(), static_cast<uint32_t>(values.size()), reinterpret_cast<uint32_t*>(handles), size);
    return AsInteger(charts.front());
}

} // namespace

extern "C" {

int32_t WINAPI VelmorGetAllHandlesCharts(int32_t* handles, uint32_t size)
{
    return Frame::Call("VelmorGetAllHandlesCharts()", 0, [=] { return GetAllHandlesCharts(handles, size); });
}

int32_t WINAPI VelmorNumberCharts()
{
    return Frame::Call("VelmorNumberCharts()", 0,
        [] { return static_cast<int32_t>(static_cast<uint16_t>(Terminal()->Charts().size())); });
}

int32_t WINAPI VelmorIsChart(int32_t chart)
{
    return Frame::Call("VelmorIsChart()", 0, [=] { return Terminal()->IsChart(AsWindow(chart)) ? 1 : 0; });
}

int32_t WINAPI VelmorIsChartActive(int32_t chart)
{
    return Frame::Call(
        "VelmorIsChartActive()", 0, [=] { return Terminal()->IsChartActive(AsWindow(chart)) ? 1 : 0; });
}

void WINAPI VelmorSetActiveChart(int32_t chart)
{
    Frame::Run("VelmorSetActiveChart()", [=] { Terminal()->SetActiveChart(AsWindow(chart)); });
}

int32_t WINAPI VelmorCloseChart(int32_t chart)
{
    return Frame::Call("VelmorCloseChart()", 0, [=] { return Terminal()->CloseChart(AsWindow(chart)); });
}

void WINAPI VelmorCloseAllCharts()
{
    Frame::Run("VelmorCloseAllCharts()", [] { Terminal()->CloseAllCharts(); });
}

} // extern "C"
