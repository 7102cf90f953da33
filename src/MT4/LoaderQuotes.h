#pragma once
// The history-quotes loader. One worker thread opens a chart and walks it
// through every Market Watch symbol and every chosen timeframe, symbol by
// symbol or timeframe by timeframe. On each combination it loads the caller's
// script and waits until that script, through VelmorSensorLoadQuotes, signals
// the step event named after the chart; meanwhile it sends the chart the Home
// key and ticks its programs. The wait has no end of its own: the caller
// steers it with the command (1 run, 2 stop, anything else: end this wait).
//
// The command, the order and the timeframe flags are read by the worker at
// each of its tests and written by the callers as whole values, without a
// lock; the lock guards the start of a worker, so that only one ever runs.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "MT4/Windows.h"
#include "Utils/Base.h"
#include "Utils/Sync.h"

namespace MT4 {

class LoaderQuotes : public virtual Utils::Base {
public:
    enum Command : int32_t { Go = 1, Stop = 2 };
    static constexpr int32_t Idle = 2;  // Run's result when no run was in progress to steer
    static constexpr int TimeframeCount = 9;
    static constexpr size_t ScriptNameBytes = 260;  // with the terminating zero

    LoaderQuotes() = default;
    // Stops a run still in progress and waits for its worker (bounded).
    ~LoaderQuotes() override;
    LoaderQuotes(const LoaderQuotes&) = delete;
    LoaderQuotes& operator=(const LoaderQuotes&) = delete;

    // With command 1 the order and the first nine flags of `timeframes` are
    // stored first. A run in progress takes the command: -> 1. Otherwise
    // command 1 starts a run of `scriptName` with what is stored: -> 0; any
    // other command starts nothing, as nothing runs to stop or skip: -> 2.
    int32_t Run(int32_t command, bool bySymbols, const int32_t* timeframes, const char* scriptName);
    // Signals the step event of the chart: the loader waiting on it goes on.
    static void Sensor(HWND chart);
    // "MT4::Windows::LoaderQuotes_" + the chart's handle in decimal.
    static std::string EventName(HWND chart);

    // Start-up: a run in progress is stopped and waited for (until its worker
    // lets go, bounded), every field returns to its initial value and the
    // next run works on `model`.
    void Replace(const Utils::Pointer<Windows>& model);

    int32_t CommandNow() const { return m_command; }
    bool Running();

private:
    static unsigned __stdcall LoaderSwitch(void* self);
    void Switch(HWND& chart);
    void BySymbols(HWND& chart, Utils::Sync::Event& event, int32_t lines);
    void ByTimeframes(HWND& chart, Utils::Sync::Event& event, int32_t lines);
    // Opens a chart when there is none, switches it to the line's symbol and
    // creates the chart's step event.
    void Prepare(HWND& chart, Utils::Sync::Event& event, int32_t line);
    // Timeframe, script, and the wait for the script's signal; true when the
    // wait was broken off because the chart has gone.
    bool Step(HWND chart, Utils::Sync::Event& event, int timeframe);
    bool WaitForStep(HWND chart, Utils::Sync::Event& event);
    // Command 1 again, unless a stop was asked for.
    void Rearm();
    // Asks a running worker to stop and waits for it (bounded), then closes
    // its handle; under the lock.
    void EndWorker();
    void Clear();
    // Under the lock: a worker has started and not yet let go.
    bool InProgress() const;
    // Under the lock: closes the handles of a worker that has let go.
    void Forget();

    Utils::Sync::CriticalSection m_lock;
    std::atomic<int32_t> m_command { Go };
    std::atomic<bool> m_bySymbols { true };
    std::atomic<bool> m_timeframes[TimeframeCount] = { true, true, true, true, true, true, true, true, true };
    char m_scriptName[ScriptNameBytes] = {};
    HANDLE m_worker = nullptr;
    HANDLE m_released = nullptr;  // set by the worker once it has let go
    Utils::Pointer<Windows> m_model { nullptr };    // for the next run
    Utils::Pointer<Windows> m_windows { nullptr };  // the run's, set before it starts
};

}  // namespace MT4
