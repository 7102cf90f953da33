#include "MT4/RefreshChart.h"

#include <process.h>

#include <algorithm>
#include <memory>

#include "Utils/Errors.h"
#include "Utils/Wait.h"
#include "exports/Frame.h"

namespace MT4 {

namespace {

using Lock = Utils::Sync::Lock<Utils::Sync::CriticalSection>;

const char* const WorkerName = "MT4::RefreshChart::Refresh()";

}  // namespace

// What a new worker is given.
struct RefreshChart::Start {
    RefreshChart* engine;
    uint32_t generation;
    HANDLE wake;
    HANDLE released;
    Utils::Pointer<Windows> model;  // the worker's for its whole life
};

RefreshChart::~RefreshChart()
{
    // No lock here: at process end the worker may have been stopped by the
    // system while it held it. A worker still alive needs the lock to end;
    // it ends at its next look at the engine.
    InterlockedExchange(&m_ending, 1);
    std::vector<Worker> workers = m_retired;
    if (m_worker.thread)
        workers.push_back(m_worker);
    for (Worker& worker : workers) {
        SetEvent(worker.wake);
        Utils::Wait::ForObject(worker.thread, Utils::Wait::WorkerEndBound);
        CloseHandle(worker.thread);
        CloseHandle(worker.wake);
        CloseHandle(worker.released);
    }
}

uint32_t RefreshChart::Key(HWND chart)
{
    return static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(chart));
}

HWND RefreshChart::Window(uint32_t key)
{
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(static_cast<int32_t>(key)));
}

void RefreshChart::Refresh(HWND chart, uint32_t interval)
{
    {
        Lock lock(m_lock);
        m_mode = PerChart;
        m_table[Key(chart)] = Clamp(interval);  // the worker drops what is not a chart
        // The newest request wins: a stop still queued for the chart (a
        // program's deinit before its init) is cancelled.
        m_stopQueue.erase(std::remove(m_stopQueue.begin(), m_stopQueue.end(), Key(chart)), m_stopQueue.end());
    }
    EnsureWorker();
}

void RefreshChart::RefreshAll(uint32_t interval)
{
    {
        Lock lock(m_lock);
        m_mode = AllCharts;
        m_allInterval = Clamp(interval);
        AddAllCharts(Model());
        m_stopQueue.clear();  // every chart is asked for anew
    }
    EnsureWorker();
}

void RefreshChart::RefreshAllOnce()
{
    {
        Lock lock(m_lock);
        m_mode = AllChartsOnce;
        m_allInterval = Step;
        AddAllCharts(Model());
        m_stopQueue.clear();  // every chart is asked for anew
    }
    EnsureWorker();
}

void RefreshChart::Stop(HWND chart)
{
    Lock lock(m_lock);
    m_stopQueue.push_back(Key(chart));
}

void RefreshChart::StopAll(bool waitForWorker)
{
    std::vector<Worker> ending;
    {
        Lock lock(m_lock);
        Clear();
        if (waitForWorker)
            ending.swap(m_retired);
    }
    Join(ending);
}

void RefreshChart::Replace(const Utils::Pointer<Windows>& model)
{
    std::vector<Worker> ending;
    {
        Lock lock(m_lock);
        Clear();
        ending.swap(m_retired);
        m_windows = model;
    }
    Join(ending);
}

Windows& RefreshChart::Model()
{
    if (!m_windows.Get())
        throw Utils::Error::Method("MT4::RefreshChart::Refresh", Windows::NoModel);
    return *m_windows;
}

RefreshChart::State RefreshChart::Snapshot()
{
    Lock lock(m_lock);
    return State { m_mode, m_allInterval, m_table, m_stopQueue.size(), m_worker.thread != nullptr, m_retired.size() };
}

void RefreshChart::AddAllCharts(Windows& windows)
{
    for (HWND chart : windows.Charts())
        m_table[Key(chart)] = m_allInterval;
}

void RefreshChart::Clear()
{
    m_stopQueue.clear();
    m_table.clear();
    m_allInterval = 0;
    Forget();
    m_mode = Idle;
}

void RefreshChart::Forget()
{
    if (!m_worker.thread)
        return;
    SetEvent(m_worker.wake);
    m_retired.push_back(m_worker);
    m_worker = Worker();
}

bool RefreshChart::IsCurrent(uint32_t generation) const
{
    return m_worker.thread && m_worker.generation == generation && !m_ending;
}

void RefreshChart::StartWorker()
{
    Model();  // refused before start-up
    Worker worker;
    worker.generation = ++m_generation;
    worker.wake = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    worker.released = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!worker.wake || !worker.released) {
        const DWORD code = GetLastError();
        if (worker.wake)
            CloseHandle(worker.wake);
        if (worker.released)
            CloseHandle(worker.released);
        throw Utils::Error::Method("MT4::RefreshChart::StartWorker", "Событие потока обновления графиков не создано.")
            + LastErrorText(code);
    }
    auto start = std::make_unique<Start>(Start { this, worker.generation, worker.wake, worker.released, m_windows });
    worker.thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, Run, start.get(), 0, nullptr));
    if (!worker.thread) {
        CloseHandle(worker.wake);
        CloseHandle(worker.released);
        throw "Метод \"MT4::RefreshChart::StartWorker()\".\nФункция потока не запущена.";
    }
    start.release();  // the worker owns it now
    m_worker = worker;  // before the worker can look: it needs the lock held here
}

void RefreshChart::EnsureWorker()
{
    for (;;) {
        std::vector<Worker> retired;
        {
            Lock lock(m_lock);
            if (m_worker.thread)
                return;  // the running worker sees the new settings at its next pass
            if (m_retired.empty()) {
                StartWorker();
                return;
            }
            retired.swap(m_retired);
        }
        Join(retired);
    }
}

void RefreshChart::Join(std::vector<Worker>& workers)
{
    std::vector<Worker> late;
    for (Worker& worker : workers) {
        SetEvent(worker.wake);
        // A caller on the terminal's thread lets the worker's send through.
        if (!Utils::Wait::ForObject(worker.released, Utils::Wait::WorkerEndBound, true)) {
            late.push_back(worker);
            continue;
        }
        CloseHandle(worker.thread);
        CloseHandle(worker.wake);
        CloseHandle(worker.released);
    }
    workers.clear();
    if (late.empty())
        return;
    {
        Lock lock(m_lock);
        m_retired.insert(m_retired.end(), late.begin(), late.end());
    }
    throw Utils::Error::Method("MT4::RefreshChart::Join",
        "Поток обновления графиков не завершился за отведённое время ("
            + std::to_string(Utils::Wait::WorkerEndBound / 1000) + " с).");
}

unsigned __stdcall RefreshChart::Run(void* start)
{
    const std::unique_ptr<Start> given(static_cast<Start*>(start));
    RefreshChart& engine = *given->engine;
    try {
        engine.Work(given->generation, given->wake, *given->model);
    } catch (...) {
        const DWORD lastError = GetLastError();
        // The engine is cleared and let go of before the report, which waits
        // for the user: a new start or a stop never waits behind the box.
        try {
            Lock lock(engine.m_lock);
            if (engine.IsCurrent(given->generation))
                engine.Clear();
        } catch (...) {
        }
        SetEvent(given->released);
        Frame::ReportCurrent(WorkerName, "", lastError);
        return 1;
    }
    SetEvent(given->released);
    return 0;
}

void RefreshChart::Work(uint32_t generation, HANDLE wake, Windows& windows)
{
    for (uint32_t tick = 0;; ++tick) {
        {
            Lock lock(m_lock);
            if (!IsCurrent(generation))
                return;
            if (m_table.empty()) {
                Clear();
                return;
            }
        }

        // One pass in ascending handle order. The lock is taken anew for each
        // entry, so the pass goes on with the smallest handle above the one
        // visited last, whatever changed in between.
        bool visited = false;
        uint32_t last = 0;
        for (;;) {
            uint32_t key, interval;
            {
                Lock lock(m_lock);
                if (!IsCurrent(generation))
                    return;
                if (m_table.empty()) {
                    Clear();
                    return;
                }
                const auto entry = visited ? m_table.upper_bound(last) : m_table.begin();
                if (entry == m_table.end())
                    break;
                key = last = entry->first;
                interval = entry->second;
                visited = true;
                // A closed chart and the stopped ones leave the table; the pass
                // goes on with the rest (the only pass of "all charts once").
                if (!windows.IsChart(Window(key)))
                    m_table.erase(key);
                for (; !m_stopQueue.empty(); m_stopQueue.pop_front())
                    m_table.erase(m_stopQueue.front());
                if (!m_table.count(key))
                    continue;
            }
            if (tick % (interval / Step) == 0) {
                windows.TickIndicators(Window(key));
                windows.TickExpert(Window(key));
            }
        }

        {
            Lock lock(m_lock);
            if (!IsCurrent(generation))
                return;
            switch (m_mode) {
            case PerChart:
                break;
            case AllCharts:
                AddAllCharts(windows);
                break;
            case AllChartsOnce:
                Clear();  // done: no table is left for a later start
                return;
            default:
                throw "Ошибка в методе \"MT4::RefreshChart::Refresh()\".\nВыбран неверный режим обновления графиков.";
            }
        }
        WaitForSingleObject(wake, Step);
    }
}

}  // namespace MT4
