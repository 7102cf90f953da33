// VelmorGetAllSymbols on a Market Watch of 5,000 symbols, called through the
// DLL from a program's thread of the terminal's process and from a process of
// its own pointed at the terminal, against the raw message loop that reads the
// same rows into the same elements.
#include "Harness.h"
#include "RawList.h"

#include <commctrl.h>

#include <cstring>
#include <functional>
#include <stdexcept>

#include "MT4/MqlString.h"
#include "StandIn.h"
#include "support/Library.h"
#include "support/StandInProcess.h"

namespace {

constexpr int Runs = 7;
constexpr int Symbols = 5000;

// The caller's array: 5,000 elements of 16 bytes.
struct Array {
    Array() : storage(Symbols * 16, '\0')
    {
        for (int i = 0; i < Symbols; ++i)
            elements.push_back({ 16, &storage[i * 16] });
    }
    std::vector<char> storage;
    std::vector<MT4::MqlString> elements;
};

// The floor: one LVM_GETITEMTEXTA per row, each text copied into its element.
void RawSymbols(HWND list, Array& array)
{
    Bench::RawRows(list, Symbols, [&](int row, const char* text, size_t length) {
        std::memcpy(array.elements[row].buffer, text, length + 1);
    });
}

// The same for the list of another process.
void RawRemoteSymbols(HWND list, DWORD processId, Array& array)
{
    Bench::RawRemoteRows(list, Symbols, processId, [&](int row, const char* text, size_t length) {
        std::memcpy(array.elements[row].buffer, text, length + 1);
    });
}

using AllSymbolsFn = int32_t(WINAPI*)(MT4::MqlString*, int32_t);

// Both reads once, with the same result, then both timed in turns.
std::pair<Bench::Timing, Bench::Timing> Measure(AllSymbolsFn allSymbols, const std::function<void(Array&)>& raw)
{
    Array byLibrary, byLoop;
    if (allSymbols(byLibrary.elements.data(), Symbols) != Symbols)
        throw std::runtime_error("VelmorGetAllSymbols did not copy 5,000 symbols");
    raw(byLoop);
    if (byLibrary.storage != byLoop.storage || std::strcmp(byLibrary.elements[4999].buffer, "S4999") != 0)
        throw std::runtime_error("the library and the raw loop copied different symbols");
    return Bench::MedianPair(Runs, [&] { allSymbols(byLibrary.elements.data(), Symbols); }, [&] { raw(byLoop); });
}

}  // namespace

BENCHMARK(MarketWatchGetAllSymbols)
{
    std::vector<Bench::Row> rows;
    {
        StandIn::Terminal terminal(StandIn::Scenario::Named("many-symbols"));
        Support::Library library;
        library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
        HWND list = terminal.Handles().marketWatchList;
        const auto [libraryTime, floorTime] = Measure(
            library.Get<AllSymbolsFn>("VelmorGetAllSymbols"), [&](Array& array) { RawSymbols(list, array); });
        rows.push_back(Bench::Row::Rate("VelmorGetAllSymbols, 5,000 symbols, a thread of the terminal's process",
            libraryTime, floorTime, 1.2, Symbols, "symbols"));
    }
    {
        Support::StandInProcess standIn("many-symbols");
        HWND list = Bench::MarketWatchList(standIn.Main());
        Support::Library library;
        library.Get<Support::VoidOfIntFn>("VelmorInit")(static_cast<int32_t>(standIn.Pid()));
        const auto [libraryTime, floorTime] = Measure(library.Get<AllSymbolsFn>("VelmorGetAllSymbols"),
            [&](Array& array) { RawRemoteSymbols(list, standIn.Pid(), array); });
        rows.push_back(Bench::Row::Rate("VelmorGetAllSymbols, 5,000 symbols, terminal in another process",
            libraryTime, floorTime, 1.2, Symbols, "symbols"));
    }
    return rows;
}
