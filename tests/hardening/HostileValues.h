#pragma once
// Argument values for the hostile-input sweep, by argument kind and role:
// window handles that lead nowhere or somewhere foreign, sizes and counts of
// 0, -1 and more than any array holds, null, empty and over-long texts, and
// arrays whose every element and buffer is followed by guard bytes.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ExportTable.h"
#include "MT4/MqlString.h"

namespace Hardening {

// The windows a handle argument can be pointed at.
struct Windows {
    HWND chart = nullptr;         // a chart of the terminal served (the sound value)
    HWND terminalMain = nullptr;  // the terminal's main window: a window, but no chart
    HWND destroyed = nullptr;     // a window that no longer exists
    HWND foreignMain = nullptr;   // another process's terminal window
    HWND foreignChart = nullptr;  // a chart of another process's terminal
    HWND own = nullptr;           // a plain window of this process
};

// The role an int argument plays, from its name.
enum class Role { Handle, Count, Index, Other };
Role RoleOf(const Argument& argument);

// An argument value with the memory it points into; `Check` tells whether
// anything was written where the caller gave the library no room.
class Value {
public:
    virtual ~Value() = default;
    virtual Slot Get() const = 0;
    virtual std::string Describe() const = 0;
    // Elements (ints, or strings) the value offers, or -1 for no memory.
    virtual long long Capacity() const { return -1; }
    // Empty when every byte outside the room given by `size` (or by each
    // element's own capacity) is as it was; else what was overwritten.
    virtual std::string Check(uint32_t /*size*/) const { return {}; }
};

using Values = std::vector<std::shared_ptr<Value>>;

// The hostile values of an argument, and its one sound value. The sound
// value of an array or count argument leaves room for `sound` elements.
Values Hostile(const Argument& argument, const Windows& windows);
std::shared_ptr<Value> Sound(const Argument& argument, const Windows& windows);

// The count every array of a sound call is given; the elements every array
// has behind it.
inline constexpr int32_t SoundCount = 2;
// Arrays are backed far beyond what they offer, so that a library taking a
// size of -1 ("to the end") at its word writes into memory of the test.
inline constexpr size_t Backing = 256;

// A null array pointer.
std::shared_ptr<Value> NoArray();

}  // namespace Hardening
