#pragma once
// The library's exports as exports.tsv (argument bytes, neutral result) and
// docs/reference.tsv (MQL4 argument types, result kind, bound) give them; both
// are copied beside the test programs. Exports() throws when they disagree.
// Then the argument values of the hostile sweep, by argument kind and name:
// handles that lead nowhere or somewhere foreign, counts of 0, -1 and beyond
// any array, null, empty and over-long texts, arrays followed by guard bytes.
#include <windows.h>
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace Hardening {

enum class Kind { Int, Double, Text, IntArray, TextArray };  // TextArray: (capacity, buffer) elements

struct Argument {
    Kind kind;
    std::string name;
    bool wide = false;  // a UTF-16 text or string array: an argument of a wide twin
};

struct Export {
    std::string name;
    std::vector<Argument> arguments;
    std::string result;     // "int", "string" or "void"
    std::string neutral;    // "none", "0", "-1", "\"\"" or "null"
    std::string bound;      // the reference's bound column
    std::string indicator;  // "works", "works by pumping" or "refused"
    int argumentBytes = 0;
    bool wide = false;      // the UTF-16 twin (name + "W") of another export
};

const std::vector<Export>& Exports();
const Export& ExportNamed(const std::string& name);

struct Slot {
    INT_PTR integer = 0;
    double real = 0;
};

// Calls the export with `slots` (doubles where its arguments are) and returns
// the raw result. Throws for a shape it cannot call and, in the 32-bit build,
// for an export that does not remove exactly its argument bytes.
INT_PTR Invoke(const Export& what, const std::vector<Slot>& slots);
FARPROC Address(const Export& what);  // null when not exported

// Cancels each visible dialog of the interface thread `uiThread` and waits
// (at most 2 s) until it is gone.
void CancelDialogs(DWORD uiThread);

inline void PrintTo(const Export& what, std::ostream* out) { *out << what.name; }

// The windows a handle argument can be pointed at.
struct Windows {
    HWND chart = nullptr;         // a chart of the terminal served (the sound value)
    HWND terminalMain = nullptr;  // a window, but no chart
    HWND destroyed = nullptr;
    HWND foreignMain = nullptr;   // another process's terminal window
    HWND foreignChart = nullptr;  // a chart of another process's terminal
    HWND own = nullptr;           // a plain window of this process
};

bool IsCount(const Argument& argument);  // "size" or "count"

// An argument value and the memory it points into: blocks of bytes of which
// the first room(block, size) may be written; it points at the first block.
struct Value {
    using Blocks = std::vector<std::vector<unsigned char>>;
    Value(Slot slot, std::string what, long long capacity = -1, Blocks given = {},
        std::function<size_t(size_t block, uint32_t size)> room = {})
        : slot(slot), what(std::move(what)), capacity(capacity), blocks(std::move(given)), original(blocks), room(room)
    {
        if (!blocks.empty())
            this->slot.integer = reinterpret_cast<INT_PTR>(blocks[0].data());
    }
    // Empty when every byte beyond the room given by `size` is as it was.
    std::string Check(uint32_t size) const;

    Slot slot;
    std::string what;
    long long capacity;  // the elements it offers; -1: no memory
    Blocks blocks, original;
    std::function<size_t(size_t block, uint32_t size)> room;
};
using Values = std::vector<std::shared_ptr<Value>>;

Values Hostile(const Argument& argument, const Windows& windows);
// The sound value: an array or count leaves room for SoundCount elements.
std::shared_ptr<Value> Sound(const Argument& argument, const Windows& windows);
std::shared_ptr<Value> Null();
std::vector<Slot> SlotsOf(const Values& values);

inline constexpr int32_t SoundCount = 2;
// Arrays are backed far beyond what they offer: a library that takes a size
// of -1 ("to the end") at its word writes into the test's own memory.
inline constexpr size_t Backing = 256;

}  // namespace Hardening
