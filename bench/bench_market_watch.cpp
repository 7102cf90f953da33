// VelmorGetAllSymbols on a Market Watch of 5,000 symbols, called through the
// DLL from a program's thread of the terminal's process and from a process of
// its own pointed at the terminal. In the terminal's process against the same
// read sent one round trip per row, and against the raw message loop that
// reads the same rows into the same elements run on the list's own thread,
// where each read is a direct call; in another process against that loop.
#include "Harness.h"
#include "RawList.h"

#include <commctrl.h>

#include <cstring>
#include <functional>
#include <stdexcept>

#include "MT4/MqlString.h"
#include "StandIn.h"
#include "Utils/Controls.h"
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

// One LVM_GETITEMTEXTA per row, each text copied into its element.
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

// The library's read once: all 5,000 symbols.
Array ReadOnce(AllSymbolsFn allSymbols)
{
    Array array;
    if (allSymbols(array.elements.data(), Symbols) != Symbols || std::strcmp(array.elements[4999].buffer, "S4999") != 0)
        throw std::runtime_error("VelmorGetAllSymbols did not copy 5,000 symbols");
    return array;
}

// A floor's read once: the same symbols as the library's.
void Same(const Array& byLibrary, const std::function<void(Array&)>& raw)
{
    Array byLoop;
    raw(byLoop);
    if (byLibrary.storage != byLoop.storage)
        throw std::runtime_error("the library and the raw loop copied different symbols");
}

}  // namespace

BENCHMARK(MarketWatchGetAllSymbols)
{
    std::vector<Bench::Row> rows;
    {
        StandIn::Terminal terminal(StandIn::Scenario::Named("many-symbols"));
        Support::Library library;
        library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
        const auto allSymbols = library.Get<AllSymbolsFn>("VelmorGetAllSymbols");
        HWND list = terminal.Handles().marketWatchList;
        // The read as it was before it was carried to the list's thread: one
        // round trip per row, then the texts copied into the elements.
        auto perMessage = [&](Array& array) {
            const auto texts = Utils::Controls::ListView::GetTextItem(list, Utils::Controls::Route::PerMessage);
            for (size_t i = 0; i < texts.size(); ++i)
                std::memcpy(array.elements[i].buffer, texts[i].c_str(), texts[i].size() + 1);
        };
        auto onThread = [&](Array& array) { terminal.OnUiThread([&] { RawSymbols(list, array); }); };
        Array byLibrary = ReadOnce(allSymbols), byLoop;
        Same(byLibrary, perMessage);
        Same(byLibrary, onThread);
        const auto times = Bench::Turns(
            Runs, [&] { allSymbols(byLibrary.elements.data(), Symbols); }, [&] { perMessage(byLoop); },
            [&] { onThread(byLoop); });
        const auto [libraryTime, perMessageTime] = Bench::Paired(times[0], times[1]);
        rows.push_back(Bench::Row::Rate(
            "VelmorGetAllSymbols, 5,000 symbols, a thread of the terminal's process (against: one round trip a row)",
            libraryTime, perMessageTime, 0.05, Symbols, "symbols"));
        const auto [againstThread, threadTime] = Bench::Paired(times[0], times[2]);
        rows.push_back(Bench::Row::Rate(
            "VelmorGetAllSymbols, 5,000 symbols, the same (floor: the reads on the list's thread)", againstThread,
            threadTime, 2, Symbols, "symbols"));
    }
    {
        Support::StandInProcess standIn("many-symbols");
        HWND list = Bench::MarketWatchList(standIn.Main());
        Support::Library library;
        library.Get<Support::VoidOfIntFn>("VelmorInit")(static_cast<int32_t>(standIn.Pid()));
        const auto allSymbols = library.Get<AllSymbolsFn>("VelmorGetAllSymbols");
        auto remote = [&](Array& array) { RawRemoteSymbols(list, standIn.Pid(), array); };
        Array byLibrary = ReadOnce(allSymbols), byLoop;
        Same(byLibrary, remote);
        const auto [libraryTime, floorTime] = Bench::MedianPair(
            Runs, [&] { allSymbols(byLibrary.elements.data(), Symbols); }, [&] { remote(byLoop); });
        rows.push_back(Bench::Row::Rate("VelmorGetAllSymbols, 5,000 symbols, terminal in another process",
            libraryTime, floorTime, 1.2, Symbols, "symbols"));
    }
    return rows;
}
