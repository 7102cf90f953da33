#include "MT4/LoaderQuotes.h"

#include <process.h>

#include <cstring>
#include <exception>

#include "Utils/Checking.h"
#include "Utils/Controls.h"
#include "Utils/Errors.h"
#include "Utils/Wait.h"
#include "exports/Frame.h"

namespace MT4 {

namespace {

using Lock = Utils::Sync::Lock<Utils::Sync::CriticalSection>;
namespace ListView = Utils::Controls::ListView;

const char* const EventPrefix = "MT4::Windows::LoaderQuotes_";
const char* const WorkerName = "MT4::LoaderQuotes::LoaderSwitch()";

constexpr DWORD BeforeTimeframe = 100;  // after the event's reset, before the timeframe is set
constexpr DWORD WaitPause = 200;        // after the Home key, and after the tick

}  // namespace

LoaderQuotes::~LoaderQuotes()
{
    // No lock here: at process end the system may have stopped a thread that
    // held it. A worker still alive ends at its next test of the command.
    if (!m_worker)
        return;
    m_command = Stop;
    Utils::Wait::ForObject(m_released, Utils::Wait::WorkerEndBound);
    Forget();
}

std::string LoaderQuotes::EventName(HWND chart)
{
    return EventPrefix + std::to_string(static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(chart)));
}

bool LoaderQuotes::Running()
{
    Lock lock(m_lock);
    return InProgress();
}

bool LoaderQuotes::InProgress() const
{
    return m_worker && WaitForSingleObject(m_released, 0) == WAIT_TIMEOUT;
}

void LoaderQuotes::Forget()
{
    if (m_worker)
        CloseHandle(m_worker);
    if (m_released)
        CloseHandle(m_released);
    m_worker = nullptr;
    m_released = nullptr;
}

int32_t LoaderQuotes::Run(int32_t command, bool bySymbols, const int32_t* timeframes, const char* scriptName)
{
    if (command == Go) {
        if (!timeframes)
            throw Utils::Error::Argument("MT4::LoaderQuotes::Run", "Не передан массив периодов.");
        uint32_t flags[TimeframeCount] = {};
        Utils::Array::Copy(reinterpret_cast<const uint32_t*>(timeframes), TimeframeCount, flags, TimeframeCount);
        m_bySymbols = bySymbols;
        for (int i = 0; i < TimeframeCount; ++i)
            m_timeframes[i] = flags[i] != 0;
    }

    Lock lock(m_lock);
    if (InProgress()) {
        m_command = command;
        return 1;
    }
    Forget();  // the last run has ended (its box may still be open)
    // A stop or skip while nothing runs starts nothing.
    if (command != Go)
        return Idle;

    // The name is checked before anything starts: a name that does not fit
    // is refused, not cut.
    if (!scriptName || !*scriptName)
        throw Utils::Error::Argument("MT4::LoaderQuotes::Run", "Не указано имя скрипта.");
    if (std::strlen(scriptName) >= ScriptNameBytes)
        throw Utils::Error::Argument("MT4::LoaderQuotes::Run",
            "Имя скрипта длиннее " + std::to_string(ScriptNameBytes - 1) + " символов.");
    if (!m_model.Get())
        throw Utils::Error::Method("MT4::LoaderQuotes::Run", Windows::NoModel);
    std::memcpy(m_scriptName, scriptName, std::strlen(scriptName) + 1);
    m_command = Go;  // a command that came as the last run was ending steers nothing
    m_released = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!m_released) {
        const DWORD error = GetLastError();
        throw Utils::Error::Method("MT4::LoaderQuotes::Run", "Событие потока загрузчика не создано.")
            + LastErrorText(error);
    }
    m_windows = m_model;  // the run's model, until it ends
    m_worker = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, LoaderSwitch, this, 0, nullptr));
    if (!m_worker) {
        Forget();
        throw "Метод \"MT4::LoaderQuotes::Run()\".\nФункция потока не запущена.";
    }
    return 0;
}

void LoaderQuotes::Sensor(HWND chart)
{
    Utils::Sync::Event event;
    event.Open(EventName(chart));
    event.Set();
    event.Close();
}

void LoaderQuotes::Replace(const Utils::Pointer<Windows>& model)
{
    Lock lock(m_lock);
    EndWorker();
    Clear();
    m_model = model;
}

void LoaderQuotes::EndWorker()
{
    if (!m_worker)
        return;
    m_command = Stop;
    // A caller on the terminal's thread lets the worker's sends through. A
    // worker that failed has let go before its box: nobody waits for the box.
    if (!Utils::Wait::ForObject(m_released, Utils::Wait::WorkerEndBound, true))
        throw Utils::Error::Method("MT4::LoaderQuotes::Reset",
            "Поток загрузчика котировок не завершился за отведённое время ("
                + std::to_string(Utils::Wait::WorkerEndBound / 1000) + " с).");
    Forget();
}

void LoaderQuotes::Clear()
{
    m_command = Go;
    m_bySymbols = true;
    for (std::atomic<bool>& flag : m_timeframes)
        flag = true;
    std::memset(m_scriptName, 0, sizeof m_scriptName);
}

unsigned __stdcall LoaderQuotes::LoaderSwitch(void* self)
{
    auto& loader = *static_cast<LoaderQuotes*>(self);
    const HANDLE released = loader.m_released;
    // A failure is reported once the worker has closed its chart and let go
    // of the loader and of the model: the box waits for the user, no one else.
    std::exception_ptr failures[2];
    DWORD lastErrors[2] = {};
    HWND chart = nullptr;
    try {
        loader.Switch(chart);
    } catch (...) {
        lastErrors[0] = GetLastError();
        failures[0] = std::current_exception();
    }
    try {
        if (chart)
            loader.m_windows->CloseChart(chart);  // one that has gone already is left alone
    } catch (...) {
        lastErrors[1] = GetLastError();
        failures[1] = std::current_exception();
    }
    loader.m_command = Go;
    SetEvent(released);  // the loader may start anew or go from here on
    for (int i = 0; i < 2; ++i) {
        if (!failures[i])
            continue;
        try {
            std::rethrow_exception(failures[i]);
        } catch (...) {
            Frame::ReportCurrent(WorkerName, "", lastErrors[i]);
        }
    }
    return 0;
}

void LoaderQuotes::Switch(HWND& chart)
{
    Utils::Sync::Event event;
    int32_t lines = 0;
    {
        Utils::Sync::Lock<Utils::Sync::Mutex> lock(m_windows->GetMutex(Windows::MutexMarketWatch));
        lines = ListView::GetItem(m_windows->MarketWatchList()).rows;
    }
    if (m_bySymbols)
        BySymbols(chart, event, lines);
    else
        ByTimeframes(chart, event, lines);
}

void LoaderQuotes::BySymbols(HWND& chart, Utils::Sync::Event& event, int32_t lines)
{
    int resume = 0;  // the timeframe a line taken again goes on from
    for (int32_t line = 0; line < lines && m_bySymbols && m_command != Stop; ++line) {
        Prepare(chart, event, line);
        Rearm();
        bool interrupted = false;
        for (int timeframe = resume; timeframe < TimeframeCount && m_command != Stop && !interrupted; ++timeframe) {
            if (!m_timeframes[timeframe])
                continue;
            event.Reset();
            Sleep(BeforeTimeframe);
            if (Step(chart, event, timeframe)) {
                event.Close();
                resume = timeframe;
                --line;  // the same line again, on a new chart
                interrupted = true;
            }
        }
        if (!interrupted)
            resume = 0;
        event.Close();
    }
}

void LoaderQuotes::ByTimeframes(HWND& chart, Utils::Sync::Event& event, int32_t lines)
{
    for (int timeframe = 0; timeframe < TimeframeCount && !m_bySymbols && m_command != Stop; ++timeframe) {
        if (!m_timeframes[timeframe])
            continue;
        Rearm();
        for (int32_t line = 0; line < lines && m_command != Stop; ++line) {
            Prepare(chart, event, line);
            if (Step(chart, event, timeframe))
                --line;  // the same line again, on a new chart
            Rearm();
            event.Close();
        }
    }
}

void LoaderQuotes::Prepare(HWND& chart, Utils::Sync::Event& event, int32_t line)
{
    if (!m_windows->IsChart(chart)) {
        std::string symbol;
        chart = m_windows->OpenChartByNumber(line, symbol);
        m_windows->SetSetting(Windows::ChartSetting::AutoScroll, chart, false);
    }
    std::string symbol;
    {
        Utils::Sync::Lock<Utils::Sync::Mutex> lock(m_windows->GetMutex(Windows::MutexMarketWatch));
        symbol = ListView::GetText(m_windows->MarketWatchList(), static_cast<uint32_t>(line), 0);
    }
    m_windows->SetToolChartNumberPeriod(chart, symbol, 0);
    event.Create(EventName(chart), TRUE, FALSE, INFINITE);
}

bool LoaderQuotes::Step(HWND chart, Utils::Sync::Event& event, int timeframe)
{
    m_windows->SetTimeframeByNumber(chart, timeframe);
    m_windows->LoadScript(chart, m_scriptName, false);
    return WaitForStep(chart, event);
}

bool LoaderQuotes::WaitForStep(HWND chart, Utils::Sync::Event& event)
{
    bool gone = false;
    while (m_command == Go && event.Handle() && WaitForSingleObject(event.Handle(), 0) != WAIT_OBJECT_0) {
        if (!m_windows->IsChart(chart)) {
            gone = true;
            break;
        }
        m_windows->ChartKeyDown(chart, VK_HOME);
        Sleep(WaitPause);
        m_windows->TickIndicators(chart);
        Sleep(WaitPause);
    }
    Rearm();
    return gone;
}

void LoaderQuotes::Rearm()
{
    int32_t command = m_command;
    while (command != Stop && !m_command.compare_exchange_weak(command, Go)) {
    }
}

}  // namespace MT4
