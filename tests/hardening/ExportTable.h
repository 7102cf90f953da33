#pragma once
// The library's exports as its two tables give them: exports.tsv (argument
// bytes, neutral result) and docs/reference.tsv (MQL4 argument types, result
// kind, bound), both copied beside the test programs by the build. The
// hardening tests are driven by these rows: an export joins them by its rows.
#include <windows.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace Hardening {

enum class Kind {
    Int,        // int name
    Double,     // double name
    Text,       // string name: a pointer to the text's characters
    IntArray,   // int& name[]: a pointer to 32-bit elements
    TextArray,  // string& name[]: a pointer to (capacity, buffer) elements
};

struct Argument {
    Kind kind;
    std::string name;
    bool wide = false;  // a text (or its array's elements) in UTF-16: an argument of a wide twin
};

struct Export {
    std::string name;
    std::vector<Argument> arguments;
    std::string result;   // "int", "string" or "void"
    std::string neutral;  // "none", "0", "-1", "\"\"" or "null"
    std::string bound;    // the reference's bound column
    std::string indicator;  // from an indicator: "works", "works by pumping" or "refused"
    int argumentBytes = 0;
    // The wide twin of another export (its name + "W"): its texts, string
    // arrays and text result are UTF-16.
    bool wide = false;
};

// Every export of both tables, in reference order; throws std::runtime_error
// naming the row when the tables disagree (a name in one only, a byte count
// that does not match the argument types) or a row cannot be read.
const std::vector<Export>& Exports();

// One argument or result slot as it crosses the border: an integer or
// pointer, or a double.
struct Slot {
    INT_PTR integer = 0;
    double real = 0;
};

// Calls `address` with `slots` as the export's arguments (their kinds say
// which slot is a double) and returns the raw integer result (int results in
// the low 32 bits, text results as a pointer). Throws std::runtime_error for a
// shape of arguments it cannot call and, in the 32-bit build, for an export
// that does not remove exactly its argument bytes from the stack.
INT_PTR Invoke(FARPROC address, const Export& what, const std::vector<Slot>& slots);

// The export's address in the DLL, or null when it is not exported (yet).
FARPROC Address(HMODULE library, const Export& what);

// A row in a test's messages: its name.
inline void PrintTo(const Export& what, std::ostream* out) { *out << what.name; }

}  // namespace Hardening
