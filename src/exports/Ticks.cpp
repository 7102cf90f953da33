// Exports that make a chart's programs run once.
#include <windows.h>

#include "MT4/Windows.h"
#include "exports/Frame.h"

namespace {

using Terminal = Utils::Pointer<MT4::Windows>;

HWND Chart(int32_t value)
{
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(value));
}

}  // namespace

extern "C" {

void WINAPI VelmorTickExpert(int32_t chart)
{
    Frame::Run("VelmorTickExpert()", [=] { Terminal()->TickExpert(Chart(chart)); });
}

void WINAPI VelmorTickIndicators(int32_t chart)
{
    Frame::Run("VelmorTickIndicators()", [=] { Terminal()->TickIndicators(Chart(chart)); });
}

}  // extern "C"
