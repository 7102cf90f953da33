// Exports that move a chart or deliver keys to it.
#include <windows.h>

#include <cstdint>

#include "MT4/Windows.h"
#include "exports/Arguments.h"
#include "exports/Frame.h"

namespace {

using Terminal = Utils::Pointer<MT4::Windows>;

} // namespace

extern "C" {

int32_t WINAPI VelmorZoom(int32_t chart, int32_t in)
{
    return Frame::Call("VelmorZoom()", 0, [=] { return Terminal()->Zoom(AsWindow(chart), in != 0); });
}

void WINAPI VelmorStepByStep(int32_t chart)
{
    Frame::Run("VelmorStepByStep()", [=] { Terminal()->StepByStep(AsWindow(chart)); });
}

int32_t WINAPI VelmorDeselectObjects(int32_t chart)
{
    return Frame::Call(
        "VelmorDeselectObjects()", 0, [=] { return Terminal()->DeselectObjects(AsWindow(chart)); });
}

void WINAPI VelmorSetBar(int32_t chart, int32_t time)
{
    Frame::Run("VelmorSetBar()", [=] { Terminal()->SetBar(AsWindow(chart), time); });
}

int32_t WINAPI VelmorChartKeyDown(int32_t chart, int32_t key)
{
    return Frame::Call(
        "VelmorChartKeyDown()", 0, [=] { return Terminal()->ChartKeyDown(AsWindow(chart), key); });
}

int32_t WINAPI VelmorChartKeyUp(int32_t chart, int32_t key)
{
    return Frame::Call("VelmorChartKeyUp()", 0, [=] { return Terminal()->ChartKeyUp(AsWindow(chart), key); });
}

void WINAPI VelmorChartHotKeys(int32_t chart, int32_t key, int32_t modifier)
{
    Frame::Run("VelmorChartsHotKeys()", [=] { Terminal()->ChartHotKeys(AsWindow(chart), key, modifier); });
}

} // extern "C"
