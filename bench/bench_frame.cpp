// The exported call frame's fast path: VelmorGetProcessId after Init, per
// call, against the cheapest round trip to the terminal (one cross-thread
// SendMessage to its main window) and against a bare call through
// GetProcAddress inside an uncontended critical section. The frame takes nine
// uncontended critical sections by design: Init's own and, for each of the two
// singletons it reaches (Init's section and the terminal), the creation lock
// and the reference-count lock on taking and releasing it.
#include "Harness.h"

#include <stdexcept>

#include "StandIn.h"
#include "support/Library.h"

namespace {

constexpr int Runs = 11;
constexpr int Calls = 200000;
constexpr int Sends = 2000;

}  // namespace

BENCHMARK(FrameFastPath)
{
    StandIn::Terminal terminal(StandIn::Scenario::Named("english"));
    Support::Library library;
    library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
    const auto getProcessId = library.Get<Support::IntFn>("VelmorGetProcessId");
    if (getProcessId() != static_cast<int32_t>(GetCurrentProcessId()))
        throw std::runtime_error("VelmorGetProcessId did not give this process");
    const auto bare = reinterpret_cast<DWORD(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetCurrentProcessId")));
    CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    HWND main = terminal.Handles().main;

    volatile DWORD sink = 0;
    std::vector<double> byLibrary, bySend, byBareCall;
    for (int run = 0; run < Runs; ++run) {
        byLibrary.push_back(Bench::Seconds([&] {
            for (int call = 0; call < Calls; ++call)
                sink = static_cast<DWORD>(getProcessId());
        }) / Calls);
        bySend.push_back(Bench::Seconds([&] {
            for (int send = 0; send < Sends; ++send)
                SendMessageA(main, WM_NULL, 0, 0);
        }) / Sends);
        byBareCall.push_back(Bench::Seconds([&] {
            for (int call = 0; call < Calls; ++call) {
                EnterCriticalSection(&section);
                sink = bare();
                LeaveCriticalSection(&section);
            }
        }) / Calls);
    }
    DeleteCriticalSection(&section);
    const auto [perCall, send] = Bench::Paired(byLibrary, bySend);
    const auto [libraryAgain, bareCall] = Bench::Paired(byLibrary, byBareCall);
    return {
        Bench::Row::Time("VelmorGetProcessId after Init, per call (floor: a cross-thread SendMessage)", perCall,
            send, 0.001),
        Bench::Row::Time("VelmorGetProcessId, per call (floor: bare call in 1 critical section; frame takes 9)",
            libraryAgain, bareCall, Bench::NoTarget),
    };
}
