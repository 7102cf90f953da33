// Exports of the chart refresh engine.
#include <windows.h>

#include "MT4/RefreshChart.h"
#include "exports/Arguments.h"
#include "exports/Frame.h"

namespace {

using Engine = Utils::Pointer<MT4::RefreshChart>;

}  // namespace

extern "C" {

void WINAPI VelmorRefreshChart(int32_t chart, int32_t interval)
{
    Frame::Run("VelmorRefreshChart()", [=] { Engine()->Refresh(AsWindow(chart), static_cast<uint32_t>(interval)); });
}

void WINAPI VelmorRefreshAllCharts(int32_t interval)
{
    Frame::Run("VelmorRefreshAllCharts()", [=] { Engine()->RefreshAll(static_cast<uint32_t>(interval)); });
}

void WINAPI VelmorRefreshAllOnceCharts()
{
    Frame::Run("VelmorRefreshAllOnceCharts()", [] { Engine()->RefreshAllOnce(); });
}

void WINAPI VelmorStopRefreshChart(int32_t chart)
{
    Frame::Run("VelmorStopRefreshChart()", [=] { Engine()->Stop(AsWindow(chart)); });
}

void WINAPI VelmorStopRefreshAllCharts(int32_t endWorker)
{
    Frame::Run("VelmorStopRefreshAllCharts()", [=] { Engine()->StopAll(endWorker != 0); });
}

}  // extern "C"
