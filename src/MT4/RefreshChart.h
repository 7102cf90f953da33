#pragma once
// The chart refresh engine: one worker thread walks a table of charts about
// every 100 ms and makes each chart whose interval has come round run its
// indicators and its expert. Per chart (mode 1), all charts with the ones
// opened later (mode 2), or all charts once (mode 3).
//
// Exactly one worker works at a time. Each worker carries a generation number;
// it works only while the engine records it as the current worker and ends at
// its next look at the engine once it is not. A worker that is no longer
// current (stopped, or ended by itself) is kept in a list of retired workers:
// its thread handle tells when it has ended. No new worker starts before every
// retired one has let go of the engine (waited for, bounded), and a stop with
// the flag set waits for the worker too; nothing is ever killed in the middle
// of a send. A failed worker lets go of the engine before it shows its box.
#include <windows.h>

#include <cstdint>
#include <deque>
#include <map>
#include <vector>

#include "MT4/Windows.h"
#include "Utils/Base.h"
#include "Utils/Sync.h"

namespace MT4 {

class RefreshChart : public virtual Utils::Base {
public:
    enum Mode : uint16_t { Idle = 0, PerChart = 1, AllCharts = 2, AllChartsOnce = 3 };

    // The shortest interval and the worker's step, in ms.
    static constexpr uint32_t Step = 100;

    RefreshChart() = default;
    // Ends the worker (waiting for it, bounded) and clears the engine.
    ~RefreshChart() override;
    RefreshChart(const RefreshChart&) = delete;
    RefreshChart& operator=(const RefreshChart&) = delete;

    void Refresh(HWND chart, uint32_t interval);
    void RefreshAll(uint32_t interval);
    void RefreshAllOnce();
    void Stop(HWND chart);
    // Clears the engine; with `waitForWorker` returns only once no worker runs.
    void StopAll(bool waitForWorker);
    // Start-up: ends the workers, clears the engine and takes the new terminal
    // model; a worker keeps the model it started with.
    void Replace(const Utils::Pointer<Windows>& model);

    // The engine as it stands.
    struct State {
        uint16_t mode;
        uint32_t allInterval;
        std::map<uint32_t, uint32_t> table;
        size_t stopQueue;
        bool working;    // a current worker is recorded
        size_t retired;  // workers told to end whose end nobody has seen yet
    };
    State Snapshot();

private:
    struct Worker {
        HANDLE thread = nullptr;
        HANDLE wake = nullptr;  // set: the worker's pause ends at once
        // Set by the worker after its last look at the engine: what it does
        // after that (its error box, which waits for the user) holds no one.
        HANDLE released = nullptr;
        uint32_t generation = 0;
    };
    struct Start;

    static uint32_t Clamp(uint32_t interval) { return interval <= Step ? Step : interval; }
    static uint32_t Key(HWND chart);
    static HWND Window(uint32_t key);

    // Under the engine lock.
    void AddAllCharts(Windows& windows);
    Windows& Model();  // the model for a new worker; throws before start-up
    void Clear();                      // empties everything and forgets the worker
    void Forget();                     // the current worker becomes a retired one
    bool IsCurrent(uint32_t generation) const;
    void StartWorker();

    // Without the engine lock.
    void EnsureWorker();
    // Waits for each worker to end and closes its handles; those that do not
    // end within the bound go back to the retired list and the wait fails.
    void Join(std::vector<Worker>& workers);

    static unsigned __stdcall Run(void* start);
    void Work(uint32_t generation, HANDLE wake, Windows& windows);

    Utils::Sync::CriticalSection m_lock;
    uint32_t m_allInterval = 0;
    Worker m_worker;
    uint16_t m_mode = Idle;
    std::deque<uint32_t> m_stopQueue;
    std::map<uint32_t, uint32_t> m_table;
    std::vector<Worker> m_retired;
    uint32_t m_generation = 0;
    volatile LONG m_ending = 0;  // the engine is being destroyed
    Utils::Pointer<Windows> m_windows { nullptr };
};

}  // namespace MT4
