// Exports of a chart's timeframe and template.
#include <windows.h>

#include <cstdint>

#include "MT4/Windows.h"
#include "exports/Frame.h"
#include "exports/Arguments.h"

namespace {

using Terminal = Utils::Pointer<MT4::Windows>;

} // namespace

extern "C" {

void WINAPI VelmorSetTimeframeByNumber(int32_t chart, int32_t index)
{
    Frame::Run(
        "VelmorSetTimeframeByNumber()", [=] { Terminal()->SetTimeframeByNumber(AsWindow(chart), index); });
}

void WINAPI VelmorSetTimeframeByPeriod(int32_t chart, int32_t minutes)
{
    Frame::Run(
        "VelmorSetTimeframeByPeriod()", [=] { Terminal()->SetTimeframeByPeriod(AsWindow(chart), minutes); });
}

void WINAPI VelmorSetTimeframeByName(int32_t chart, const char* name)
{
    Frame::Run(
        "VelmorSetTimeframeByName()", [=] { Terminal()->SetTimeframeByName(AsWindow(chart), Text(name)); });
}

void WINAPI VelmorSetTimeframeByNameW(int32_t chart, const wchar_t* name)
{
    Frame::Run(
        "VelmorSetTimeframeByNameW()", [=] { Terminal()->SetTimeframeByName(AsWindow(chart), Text(name)); });
}

int32_t WINAPI VelmorSetTemplateByNumber(int32_t chart, int32_t number)
{
    return Frame::Call("VelmorSetTemplateByNumber()", 0,
        [=] { return Terminal()->SetTemplateByNumber(AsWindow(chart), number); });
}

void WINAPI VelmorSetTemplateByName(int32_t chart, const char* name)
{
    Frame::Run(
        "VelmorSetTemplateByName()", [=] { Terminal()->SetTemplateByName(AsWindow(chart), Text(name)); });
}

void WINAPI VelmorSetTemplateByNameW(int32_t chart, const wchar_t* name)
{
    Frame::Run(
        "VelmorSetTemplateByNameW()", [=] { Terminal()->SetTemplateByName(AsWindow(chart), Text(name)); });
}

} // extern "C"
