// VelmorGetAllSymbols on a Market Watch of 5,000 symbols, called through the
// DLL from a program's thread of the terminal's process, against the raw
// message loop that reads the same rows into the same elements.
#include "Harness.h"

#include <commctrl.h>

#include <cstring>
#include <stdexcept>

#include "MT4/MqlString.h"
#include "StandIn.h"
#include "support/Library.h"

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
    char text[260];
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    for (int row = 0; row < Symbols; ++row) {
        const auto length = SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        std::memcpy(array.elements[row].buffer, text, static_cast<size_t>(length) + 1);
    }
}

}  // namespace

BENCHMARK(MarketWatchGetAllSymbols)
{
    StandIn::Terminal terminal(StandIn::Scenario::Named("many-symbols"));
    Support::Library library;
    library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
    const auto allSymbols = library.Get<int32_t(WINAPI*)(MT4::MqlString*, int32_t)>("VelmorGetAllSymbols");
    HWND list = terminal.Handles().marketWatchList;

    Array byLibrary, byLoop;
    if (allSymbols(byLibrary.elements.data(), Symbols) != Symbols)
        throw std::runtime_error("VelmorGetAllSymbols did not copy 5,000 symbols");
    RawSymbols(list, byLoop);
    if (byLibrary.storage != byLoop.storage || std::strcmp(byLibrary.elements[4999].buffer, "S4999") != 0)
        throw std::runtime_error("the library and the raw loop copied different symbols");

    const auto [libraryTime, floorTime] = Bench::MedianPair(
        Runs, [&] { allSymbols(byLibrary.elements.data(), Symbols); }, [&] { RawSymbols(list, byLoop); });
    return { Bench::Row::Rate("VelmorGetAllSymbols, 5,000 symbols, program thread of the terminal's process",
        libraryTime, floorTime, 1.2, Symbols, "symbols") };
}
