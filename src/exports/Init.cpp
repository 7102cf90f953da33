#include "exports/Init.h"

#include "exports/Frame.h"

namespace {

LONG g_initialised = 0;
DWORD g_lastProcess = 0;

const char* const InitCaption = "RazozazER4.dll";
const char* const InitPrefix = "Ошибка в функции \"Init()\".\n\n";

}  // namespace

void Init(DWORD processId) noexcept
{
    Frame::Guard(InitCaption, InitPrefix, [processId] {
        Utils::Pointer<g_CInitCS> section;
        Utils::Sync::Lock<Utils::Sync::CriticalSection> lock(*section);
        if (g_initialised && (processId == 0 || processId == g_lastProcess))
            return;
        g_initialised = 1;
        g_lastProcess = processId;
    });
}

void DeInit() noexcept
{
    Frame::Guard(InitCaption, InitPrefix, [] {
        Utils::Pointer<g_CInitCS> section;
        Utils::Sync::Lock<Utils::Sync::CriticalSection> lock(*section);
        g_initialised = 0;
    });
}

bool IsInitialised()
{
    return g_initialised != 0;
}

DWORD LastInitProcess()
{
    return g_lastProcess;
}
