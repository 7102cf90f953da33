// Exports that make a chart's programs run once.
#include <windows.h>

#include "MT4/Windows.h"
#include "exports/Arguments.h"
#include "exports/Frame.h"

namespace {

using Terminal = Utils::Pointer<MT4::Windows>;

}  // namespace

extern "C" {

void WINAPI VelmorTickExpert(int32_t chart)
{
    Frame::Run("VelmorTickExpert()", [=] { Terminal()->TickExpert(AsWindow(chart)); });
}

void WINAPI VelmorTickIndicators(int32_t chart)
{
    Frame::Run("VelmorTickIndicators()", [=] { Terminal()->TickIndicators(AsWindow(chart)); });
}

}  // extern "C"
