#include "Charts.h"
#include "StandIn.h"
#include "Programs.h"
#include "Ui.h"

#include <process.h>

#include <atomic>
#include <exception>
#include <stdexcept>

namespace StandIn {

namespace {

const char* const CallWindowClass = "StandInCalls";
const UINT WM_RUN = WM_APP + 1;  // lParam: the Call to run

struct Call {
    const std::function<void()>* work;
    std::exception_ptr error;
};

LRESULT CALLBACK CallWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_RUN)
        return DefWindowProcA(window, message, wParam, lParam);
    auto* call = reinterpret_cast<Call*>(lParam);
    try {
        (*call->work)();
    } catch (...) {
        call->error = std::current_exception();
    }
    return 0;
}

// A message-only window that runs work for other threads on the UI thread.
HWND CreateCallWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = CallWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = CallWindowClass;
    RegisterClassA(&windowClass);  // fails harmlessly when already registered
    HWND window = CreateWindowExA(0, CallWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
        GetModuleHandleA(nullptr), nullptr);
    if (!window)
        throw std::runtime_error("cannot create the call window");
    return window;
}

}  // namespace

struct Terminal::Impl {
    explicit Impl(const Scenario& setup) : scenario(setup) { }

    static unsigned __stdcall Run(void* self);

    Scenario scenario;
    Journal journal;
    TickBoard ticks;
    Ui* ui = nullptr;
    Windows handles;
    HANDLE thread = nullptr;
    unsigned threadId = 0;
    HANDLE ready = nullptr;
    HWND callWindow = nullptr;
    std::string failure;
    std::atomic<bool> closed { false };
};

// The UI thread: builds the windows, signals `ready`, and serves them until
// the main window is destroyed.
unsigned __stdcall Terminal::Impl::Run(void* self)
{
    auto& impl = *static_cast<Impl*>(self);
    Ui ui(impl.scenario, impl.journal, impl.ticks);
    impl.ui = &ui;
    try {
        ui.Build();
        impl.handles = ui.Handles();
        impl.callWindow = CreateCallWindow();
    } catch (const std::exception& error) {
        impl.failure = error.what();
    }
    impl.journal.Clear();
    SetEvent(impl.ready);
    if (!impl.failure.empty())
        return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    impl.closed = true;
    impl.ui = nullptr;
    DestroyWindow(impl.callWindow);
    return 0;
}

Terminal::Terminal(const Scenario& scenario) : m_impl(std::make_unique<Impl>(scenario))
{
    m_impl->ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_impl->thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &Impl::Run, m_impl.get(), 0, &m_impl->threadId));
    if (!m_impl->thread) {
        CloseHandle(m_impl->ready);
        throw std::runtime_error("cannot start the stand-in's UI thread");
    }
    WaitForSingleObject(m_impl->ready, INFINITE);
    if (!m_impl->failure.empty()) {
        WaitForSingleObject(m_impl->thread, INFINITE);
        CloseHandle(m_impl->thread);
        CloseHandle(m_impl->ready);
        throw std::runtime_error("stand-in terminal: " + m_impl->failure);
    }
}

Terminal::~Terminal()
{
    m_impl->ticks.End();
    OnUiThread([this] {
        if (IsWindow(m_impl->handles.main))
            DestroyWindow(m_impl->handles.main);
    });
    WaitForSingleObject(m_impl->thread, INFINITE);
    CloseHandle(m_impl->thread);
    CloseHandle(m_impl->ready);
}

const Windows& Terminal::Handles() const { return m_impl->handles; }

Journal& Terminal::Log() { return m_impl->journal; }

TickBoard& Terminal::Ticks() { return m_impl->ticks; }

DWORD Terminal::UiThread() const { return m_impl->threadId; }

void Terminal::OnUiThread(const std::function<void()>& work)
{
    if (m_impl->closed)
        return;
    Call call = { &work, nullptr };
    SendMessageA(m_impl->callWindow, WM_RUN, 0, reinterpret_cast<LPARAM>(&call));
    if (call.error)
        std::rethrow_exception(call.error);
}

bool Terminal::Closed() const { return m_impl->closed; }

ChartPrograms Terminal::Programs(HWND view)
{
    return m_impl->ui ? m_impl->ui->ProgramsOnCharts().Of(view) : ChartPrograms();
}

bool Terminal::ExpertsEnabled()
{
    return m_impl->ui && m_impl->ui->ProgramsOnCharts().ExpertsEnabled();
}

std::vector<ScriptRun> Terminal::ScriptRuns()
{
    return m_impl->ui ? m_impl->ui->ProgramsOnCharts().Runs() : std::vector<ScriptRun>();
}

ChartSpec Terminal::Chart(HWND view)
{
    ChartSpec chart;
    bool found = false;
    OnUiThread([&] {
        if (const ChartFrame* frame = ChartFrame::Of(GetParent(view)); frame && frame->View() == view) {
            chart = frame->Chart();
            found = true;
        }
    });
    if (!found)
        throw std::runtime_error("no open chart has this view");
    return chart;
}

}  // namespace StandIn
