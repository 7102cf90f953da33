#include "exports/Init.h"

#include <exception>

#include "MT4/LoaderQuotes.h"
#include "MT4/Path.h"
#include "MT4/RefreshChart.h"
#include "MT4/Windows.h"
#include "Utils/Wait.h"
#include "exports/Frame.h"

namespace {

volatile LONG g_initialised = 0;
DWORD g_lastProcess = 0;
std::string g_serverPath;

const char* const InitCaption = "RazozazER4.dll";
const char* const InitPrefix = "Ошибка в функции \"Init()\".\n\n";

// Builds a new terminal model and puts it in place whole. The loader and the
// refresh engine end what they run and take the new model first; a call that
// is running keeps the model it took until it returns, and a run started
// after the replacement can only see the new one. A start-up that fails puts
// in place what it found (a model without a main window refuses every
// command), then reports.
void Start(DWORD processId, bool force)
{
    Utils::Pointer<g_CInitCS> section;
    Utils::Sync::Lock<Utils::Sync::CriticalSection> lock(*section);
    if (!force && g_initialised && (processId == 0 || processId == g_lastProcess))
        return;
    Utils::Pointer<MT4::Windows> model(nullptr);
    model = new MT4::Windows();
    std::exception_ptr failure;
    try {
        model->Init(processId);
    } catch (...) {
        failure = std::current_exception();
    }
    Utils::Pointer<MT4::LoaderQuotes>()->Replace(model);
    Utils::Pointer<MT4::RefreshChart>()->Replace(model);
    Utils::Pointer<MT4::Windows>::Publish(model);
    // Indicators run on the thread of the main window of a terminal that is
    // this process; waits on that thread serve its messages.
    DWORD interfaceThread = 0;
    if (model->MainWindow() && model->ProcessId() == GetCurrentProcessId())
        interfaceThread = GetWindowThreadProcessId(model->MainWindow(), nullptr);
    Utils::Wait::SetInterfaceThread(interfaceThread);
    if (failure) {
        InterlockedExchange(&g_initialised, 0);
        std::rethrow_exception(failure);
    }
    Utils::Pointer<MT4::Path> path;
    path->Init(model->Directory(), model->ProcessId());
    g_serverPath = path->ServerHistoryDirectory();
    InterlockedExchange(&g_initialised, 1);
    g_lastProcess = processId;
}

}  // namespace

void Init(DWORD processId) noexcept
{
    // The head of every export: once a model is in place, nothing to wait for
    // (a restart under way goes on serving the model in place until the new
    // one is published).
    if (processId == 0 && InterlockedCompareExchange(&g_initialised, 0, 0))
        return;
    Frame::Guard(InitCaption, InitPrefix, [processId] { Start(processId, false); });
}

void Restart(DWORD processId) noexcept
{
    Frame::Guard(InitCaption, InitPrefix, [processId] { Start(processId, true); });
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
