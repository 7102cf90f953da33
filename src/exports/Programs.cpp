// Exports of the programs on charts: loading, removing and listing.
#include <windows.h>

#include "MT4/Windows.h"
#include "Utils/StringS.h"
#include "exports/Arguments.h"
#include "exports/Frame.h"

namespace {

using Terminal = Utils::Pointer<MT4::Windows>;
using Loader = int (MT4::Windows::*)(HWND, const char*, bool);

// The name goes to the terminal from a zero-filled buffer of 260 bytes; a
// name that does not fit stops the load before anything is sent.
int32_t Load(Loader load, int32_t chart, const std::string& name, int32_t confirm)
{
    char buffer[260] = {};
    Utils::StringC::AnsiToCurrentCode(name, buffer, sizeof buffer);
    return (Terminal().Get()->*load)(AsWindow(chart), buffer, confirm != 0);
}

}  // namespace

extern "C" {

int32_t WINAPI VelmorLoadStdIndicator(int32_t chart, const char* name, int32_t confirm)
{
    return Frame::Call("VelmorLoadStdIndicator()", 0,
        [=] { return Load(&MT4::Windows::LoadStdIndicator, chart, Text(name), confirm); });
}

int32_t WINAPI VelmorLoadStdIndicatorW(int32_t chart, const wchar_t* name, int32_t confirm)
{
    return Frame::Call("VelmorLoadStdIndicatorW()", 0,
        [=] { return Load(&MT4::Windows::LoadStdIndicator, chart, Text(name), confirm); });
}

int32_t WINAPI VelmorLoadExpert(int32_t chart, const char* name, int32_t confirm)
{
    return Frame::Call(
        "VelmorLoadExpert()", 0, [=] { return Load(&MT4::Windows::LoadExpert, chart, Text(name), confirm); });
}

int32_t WINAPI VelmorLoadExpertW(int32_t chart, const wchar_t* name, int32_t confirm)
{
    return Frame::Call(
        "VelmorLoadExpertW()", 0, [=] { return Load(&MT4::Windows::LoadExpert, chart, Text(name), confirm); });
}

int32_t WINAPI VelmorLoadCustomIndicator(int32_t chart, const char* name, int32_t confirm)
{
    return Frame::Call("VelmorLoadCustomIndicator()", 0,
        [=] { return Load(&MT4::Windows::LoadCustomIndicator, chart, Text(name), confirm); });
}

int32_t WINAPI VelmorLoadCustomIndicatorW(int32_t chart, const wchar_t* name, int32_t confirm)
{
    return Frame::Call("VelmorLoadCustomIndicatorW()", 0,
        [=] { return Load(&MT4::Windows::LoadCustomIndicator, chart, Text(name), confirm); });
}

int32_t WINAPI VelmorLoadScript(int32_t chart, const char* name, int32_t confirm)
{
    return Frame::Call(
        "VelmorLoadScript()", 0, [=] { return Load(&MT4::Windows::LoadScript, chart, Text(name), confirm); });
}

int32_t WINAPI VelmorLoadScriptW(int32_t chart, const wchar_t* name, int32_t confirm)
{
    return Frame::Call(
        "VelmorLoadScriptW()", 0, [=] { return Load(&MT4::Windows::LoadScript, chart, Text(name), confirm); });
}

int32_t WINAPI VelmorDeleteExpert(int32_t chart)
{
    return Frame::Call("VelmorDeleteExpert()", 0, [=] { return Terminal()->DeleteExpert(AsWindow(chart)); });
}

int32_t WINAPI VelmorDeleteScript(int32_t chart)
{
    return Frame::Call("VelmorDeleteScript()", 0, [=] { return Terminal()->DeleteScript(AsWindow(chart)); });
}

int32_t WINAPI VelmorPropertiesExpert(int32_t chart)
{
    return Frame::Call("VelmorPropertiesExpert()", 0, [=] { return Terminal()->PropertiesExpert(AsWindow(chart)); });
}

void WINAPI VelmorSetExperts()
{
    Frame::Run("VelmorSetExperts()", [] { Terminal()->SetExperts(); });
}

int32_t WINAPI VelmorDialogScript(int32_t answer)
{
    return Frame::Call(
        "VelmorDialogScript()", 0, [=] { return AsInteger(Terminal()->DialogScript(answer != 0)); });
}

int32_t WINAPI VelmorListIndicators(int32_t chart)
{
    return Frame::Call(
        "VelmorListIndicators()", 0, [=] { return AsInteger(Terminal()->ListIndicators(AsWindow(chart))); });
}

int32_t WINAPI VelmorGetNamesIndicators(int32_t chart, int32_t window, const MT4::MqlString* names, int32_t size)
{
    return Frame::Call("VelmorGetNamesIndicators()", 0, [=] {
        return static_cast<int32_t>(Terminal()->GetNamesIndicators(AsWindow(chart), window, names, size));
    });
}

int32_t WINAPI VelmorGetNamesIndicatorsW(int32_t chart, int32_t window, const MT4::MqlStringW* names, int32_t size)
{
    return Frame::Call("VelmorGetNamesIndicatorsW()", 0, [=] {
        return static_cast<int32_t>(Terminal()->GetNamesIndicators(AsWindow(chart), window, names, size));
    });
}

void WINAPI VelmorDeleteIndicatorsByName(
    int32_t chart, int32_t window, const MT4::MqlString* names, int32_t number)
{
    Frame::Run("VelmorDeleteIndicatorsByName()",
        [=] { Terminal()->DeleteIndicatorsByName(AsWindow(chart), window, names, number); });
}

void WINAPI VelmorDeleteIndicatorsByNameW(
    int32_t chart, int32_t window, const MT4::MqlStringW* names, int32_t number)
{
    Frame::Run("VelmorDeleteIndicatorsByNameW()",
        [=] { Terminal()->DeleteIndicatorsByName(AsWindow(chart), window, names, number); });
}

}  // extern "C"
