// Exports of a chart's command line.
#include <windows.h>

#include <cstdint>

#include "MT4/SyncText.h"
#include "MT4/Windows.h"
#include "exports/Arguments.h"
#include "exports/Frame.h"

namespace {

using Terminal = Utils::Pointer<MT4::Windows>;

} // namespace

extern "C" {

int32_t WINAPI VelmorIsCmd(int32_t chart)
{
    return Frame::Call("VelmorIsCmd()", 0, [=] { return Terminal()->IsCmd(AsWindow(chart)); });
}

int32_t WINAPI VelmorIsVisibleCmd(int32_t chart)
{
    return Frame::Call("VelmorIsVisibleCmd()", 0, [=] { return Terminal()->IsVisibleCmd(AsWindow(chart)); });
}

int32_t WINAPI VelmorOpenCmd(int32_t chart)
{
    return Frame::Call("VelmorOpenCmd()", 0, [=] { return AsInteger(Terminal()->OpenCmd(AsWindow(chart))); });
}

int32_t WINAPI VelmorCreatCmd(int32_t chart)
{
    return Frame::Call(
        "VelmorCreatCmd()", 0, [=] { return AsInteger(Terminal()->CreatCmd(AsWindow(chart))); });
}

void WINAPI VelmorCloseCmd(int32_t chart)
{
    Frame::Run("VelmorCloseCmd()", [=] { Terminal()->CloseCmd(AsWindow(chart)); });
}

void WINAPI VelmorWriteCmd(int32_t chart, const char* text)
{
    Frame::Run("VelmorWriteCmd()", [=] { Terminal()->WriteCmd(AsWindow(chart), Text(text)); });
}

void WINAPI VelmorWriteCmdW(int32_t chart, const wchar_t* text)
{
    Frame::Run("VelmorWriteCmdW()", [=] { Terminal()->WriteCmd(AsWindow(chart), Text(text)); });
}

void WINAPI VelmorClearCmd(int32_t chart)
{
    Frame::Run("VelmorClearCmd()", [=] { Terminal()->ClearCmd(AsWindow(chart)); });
}

const char* WINAPI VelmorReadCmd(int32_t chart)
{
    return Frame::Call("VelmorReadCmd()", Frame::EmptyText,
        [=] { return Result(Terminal()->ReadCmd(AsWindow(chart))); });
}

const wchar_t* WINAPI VelmorReadCmdW(int32_t chart)
{
    return Frame::Call("VelmorReadCmdW()", Frame::EmptyWide,
        [=] { return WideResult(Terminal()->ReadCmd(AsWindow(chart))); });
}

void WINAPI VelmorSetToolChartPeriod(int32_t chart, const char* symbol, int32_t minutes)
{
    Frame::Run("VelmorSetToolChartPeriod()",
        [=] { Terminal()->SetToolChartPeriod(AsWindow(chart), Text(symbol), minutes); });
}

void WINAPI VelmorSetToolChartPeriodW(int32_t chart, const wchar_t* symbol, int32_t minutes)
{
    Frame::Run("VelmorSetToolChartPeriodW()",
        [=] { Terminal()->SetToolChartPeriod(AsWindow(chart), Text(symbol), minutes); });
}

void WINAPI VelmorSetToolChartNumberPeriod(int32_t chart, const char* symbol, int32_t index)
{
    Frame::Run("VelmorSetToolChartNumberPeriod()", [=] {
        Terminal()->SetToolChartNumberPeriod(AsWindow(chart), Text(symbol), static_cast<WORD>(index));
    });
}

void WINAPI VelmorSetToolChartNumberPeriodW(int32_t chart, const wchar_t* symbol, int32_t index)
{
    Frame::Run("VelmorSetToolChartNumberPeriodW()", [=] {
        Terminal()->SetToolChartNumberPeriod(AsWindow(chart), Text(symbol), static_cast<WORD>(index));
    });
}

void WINAPI VelmorSetToolChartNamePeriod(int32_t chart, const char* symbol, const char* name)
{
    Frame::Run("VelmorSetToolChartNamePeriod()",
        [=] { Terminal()->SetToolChartNamePeriod(AsWindow(chart), Text(symbol), Text(name)); });
}

void WINAPI VelmorSetToolChartNamePeriodW(int32_t chart, const wchar_t* symbol, const wchar_t* name)
{
    Frame::Run("VelmorSetToolChartNamePeriodW()",
        [=] { Terminal()->SetToolChartNamePeriod(AsWindow(chart), Text(symbol), Text(name)); });
}

} // extern "C"
