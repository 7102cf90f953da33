// Exports that select a tab of the Terminal panel.
#include <windows.h>
#include <cstdint>

#include "MT4/Windows.h"
#include "exports/Arguments.h"
#include "exports/Frame.h"

extern "C" {

void WINAPI VelmorSetTerminalTabByNumber(int32_t tab)
{
    Frame::Run("VelmorSetTerminalTabByNumber()",
        [=] { Utils::Pointer<MT4::Windows>()->SetTerminalTab(static_cast<WORD>(tab & 0xFFFF)); });
}

void WINAPI VelmorSetTerminalTabByName(const char* name)
{
    Frame::Run("VelmorSetTerminalTabByName()",
        [=] { Utils::Pointer<MT4::Windows>()->SetTerminalTabByName(Text(name)); });
}

void WINAPI VelmorSetTerminalTabByNameW(const wchar_t* name)
{
    Frame::Run("VelmorSetTerminalTabByNameW()",
        [=] { Utils::Pointer<MT4::Windows>()->SetTerminalTabByName(Text(name)); });
}

} // extern "C"
