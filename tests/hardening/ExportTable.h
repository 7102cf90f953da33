#pragma once
// The exports as exports.tsv and docs/reference.tsv (copied beside the programs) give them, a caller for each,
// and the sound and hostile argument values of the sweep, arrays followed by guard bytes.
#include <windows.h>
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace Hardening {

enum class Kind { Int, Double, Text, IntArray, TextArray };  // TextArray: (capacity, buffer) elements

struct Argument { Kind kind; std::string name; bool wide = false; };  // wide: UTF-16 texts and elements

struct Export {
    std::string name;
    std::vector<Argument> arguments;
    std::string result, neutral, bound, indicator;  // result "int", "string" or "void"; neutral "none", "0", "null"...
    int argumentBytes = 0;
    bool wide = false;  // the UTF-16 twin (name + "W") of another export
};

const std::vector<Export>& Exports();  // throws when the two tables disagree
const Export& ExportNamed(const std::string& name);
inline void PrintTo(const Export& what, std::ostream* out) { *out << what.name; }

struct Slot { INT_PTR integer = 0; double real = 0; };

// The raw result; throws for a shape it cannot call and (32-bit) for wrong argument bytes removed.
INT_PTR Invoke(const Export& what, const std::vector<Slot>& slots);
FARPROC Address(const Export& what);  // null when not exported
void CancelDialogs(DWORD uiThread);   // each visible dialog of that thread, waited for (2 s at most)

struct Windows {
    HWND chart = nullptr, terminalMain = nullptr, destroyed = nullptr;
    HWND foreignMain = nullptr, foreignChart = nullptr, own = nullptr;  // another process's; a plain one of this
};

bool IsCount(const Argument& argument);  // "size" or "count"

// An argument value and the blocks it points into; only the first room(block, size) bytes may be written.
struct Value {
    using Blocks = std::vector<std::vector<unsigned char>>;
    Value(Slot slot, std::string what, long long capacity = -1, Blocks given = {},
        std::function<size_t(size_t block, uint32_t size)> room = {})
        : slot(slot), what(std::move(what)), capacity(capacity), blocks(std::move(given)), original(blocks), room(room)
    {
        if (!blocks.empty())
            this->slot.integer = reinterpret_cast<INT_PTR>(blocks[0].data());
    }
    std::string Check(uint32_t size) const;  // empty when nothing beyond the room changed

    Slot slot;
    std::string what;
    long long capacity;  // the elements it offers; -1: no memory
    Blocks blocks, original;
    std::function<size_t(size_t block, uint32_t size)> room;
};
using Values = std::vector<std::shared_ptr<Value>>;

Values Hostile(const Argument& argument, const Windows& windows);
std::shared_ptr<Value> Sound(const Argument& argument, const Windows& windows);  // arrays: SoundCount elements
std::shared_ptr<Value> Null();
std::vector<Slot> SlotsOf(const Values& values);
Values SoundValues(const Export& what, const Windows& windows);

inline constexpr int32_t SoundCount = 2;
inline constexpr size_t Backing = 256;  // far beyond SoundCount: a size of -1 taken at its word writes here

}  // namespace Hardening
