#include "exports/Init.h"

#include "MT4/LoaderQuotes.h"
#include "MT4/Path.h"
#include "MT4/RefreshChart.h"
#include "MT4/Windows.h"
#include "exports/Frame.h"

namespace {

LONG g_initialised = 0;
DWORD g_lastProcess = 0;
std::string g_serverPath;

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
        // The loader and the refresh engine are cleared first (a run or a
        // worker in progress ends) and get their own copies of the terminal's
        // handles once the library's own discovery has succeeded: a terminal
        // that is not there is waited for once, not three times.
        Utils::Pointer<MT4::LoaderQuotes> loader;
        loader->Reset();
        Utils::Pointer<MT4::RefreshChart> refresh;
        refresh->StopAll(true);
        Utils::Pointer<MT4::Windows> windows;
        windows->Init(processId);
        loader->Init(processId);
        refresh->Init(processId);
        Utils::Pointer<MT4::Path> path;
        path->Init(windows->Directory());
        g_serverPath = path->ServerHistoryDirectory();
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

std::string ServerPathText()
{
    Utils::Pointer<g_CInitCS> section;
    Utils::Sync::Lock<Utils::Sync::CriticalSection> lock(*section);
    return g_serverPath;
}

bool IsInitialised()
{
    return g_initialised != 0;
}

DWORD LastInitProcess()
{
    return g_lastProcess;
}
