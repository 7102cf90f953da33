#include "ExportTable.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

namespace Hardening {

namespace {

std::string BesideThisProgram(const std::string& file)
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string directory(path);
    return directory.substr(0, directory.find_last_of("\\/") + 1) + file;
}

std::vector<std::vector<std::string>> Rows(const std::string& file)
{
    std::ifstream in(BesideThisProgram(file), std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + file);
    std::vector<std::vector<std::string>> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> cells;
        std::stringstream cellsOf(line);
        std::string cell;
        while (std::getline(cellsOf, cell, '\t'))
            cells.push_back(cell);
        rows.push_back(cells);
    }
    return rows;
}

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// "int chart", "string& names[]", "double first", "int& info[]".
Argument ArgumentOf(const std::string& row, const std::string& text)
{
    std::stringstream words(Trim(text));
    std::string type, name;
    words >> type >> name;
    const bool array = name.size() > 2 && name.compare(name.size() - 2, 2, "[]") == 0;
    if (array)
        name.resize(name.size() - 2);
    if (type == "int")
        return { Kind::Int, name };
    if (type == "double")
        return { Kind::Double, name };
    if (type == "string")
        return { Kind::Text, name };
    if (type == "int&" && array)
        return { Kind::IntArray, name };
    if (type == "string&" && array)
        return { Kind::TextArray, name };
    throw std::runtime_error(row + ": argument of unknown type: " + text);
}

int BytesOf(Kind kind)
{
    return kind == Kind::Double ? 8 : 4;  // the 32-bit frame: pointers and ints take 4 bytes
}

std::vector<Export> Read()
{
    std::map<std::string, std::pair<int, std::string>> table;
    bool header = true;
    for (const auto& row : Rows("exports.tsv")) {
        if (header) {
            header = false;
            continue;
        }
        if (row.size() < 3)
            throw std::runtime_error("exports.tsv: short row " + (row.empty() ? std::string() : row[0]));
        table[row[0]] = { std::stoi(row[1]), row[2] };
    }

    std::vector<Export> exports;
    for (const auto& row : Rows("reference.tsv")) {
        if (row.empty() || row[0] == "family")
            continue;
        if (row.size() < 8)
            throw std::runtime_error("reference.tsv: short row " + row[0]);
        Export entry;
        entry.name = row[0];
        entry.result = row[2];
        entry.bound = row[5];
        entry.indicator = row[7];
        if (row[1] != "-") {
            std::stringstream list(row[1]);
            std::string one;
            while (std::getline(list, one, ','))
                entry.arguments.push_back(ArgumentOf(entry.name, one));
        }
        const auto found = table.find(entry.name);
        if (found == table.end())
            throw std::runtime_error("reference.tsv: " + entry.name + " is not in exports.tsv");
        entry.argumentBytes = found->second.first;
        entry.neutral = found->second.second;
        table.erase(found);
        int bytes = 0;
        for (const Argument& argument : entry.arguments)
            bytes += BytesOf(argument.kind);
        if (bytes != entry.argumentBytes)
            throw std::runtime_error(entry.name + ": its arguments take " + std::to_string(bytes)
                + " bytes, exports.tsv says " + std::to_string(entry.argumentBytes));
        exports.push_back(entry);
    }
    if (!table.empty())
        throw std::runtime_error("exports.tsv: " + table.begin()->first + " has no row in reference.tsv");
    for (Export& entry : exports) {
        const std::string ansi = entry.name.substr(0, entry.name.size() - 1);
        entry.wide = entry.name.back() == 'W'
            && std::any_of(exports.begin(), exports.end(), [&](const Export& other) { return other.name == ansi; });
        for (Argument& argument : entry.arguments)
            argument.wide = entry.wide;
    }
    return exports;
}

using I = INT_PTR;

#ifndef _WIN64
// The terminal calls an export with its argument bytes on the stack and the
// export removes them (__stdcall). The call is made here from a frame of its
// own so that a callee that removes another number of bytes is measured, not
// survived by chance: the words are pushed last to first, the function is
// called, and what is left of the stack against the frame is handed back
// (0 when the callee removed exactly the bytes pushed).
extern "C" INT_PTR __cdecl StdcallChecked(void* function, const uint32_t* words, int count, int* imbalance);
asm(R"(
    .text
    .globl _StdcallChecked
_StdcallChecked:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    pushl %edi
    pushl %ebx
    movl %esp, %edi
    movl 12(%ebp), %esi
    movl 16(%ebp), %ecx
1:  testl %ecx, %ecx
    jz 2f
    decl %ecx
    pushl (%esi,%ecx,4)
    jmp 1b
2:  call *8(%ebp)
    movl %edi, %ecx
    subl %esp, %ecx
    negl %ecx
    movl %edi, %esp
    movl 20(%ebp), %ebx
    movl %ecx, (%ebx)
    popl %ebx
    popl %edi
    popl %esi
    popl %ebp
    ret
)");
#endif

}  // namespace

const std::vector<Export>& Exports()
{
    static const std::vector<Export> exports = Read();
    return exports;
}

FARPROC Address(HMODULE library, const Export& what)
{
    return GetProcAddress(library, what.name.c_str());
}

INT_PTR Invoke(FARPROC address, const Export& what, const std::vector<Slot>& s)
{
#ifndef _WIN64
    // The words of the 32-bit frame, doubles as two words each.
    std::vector<uint32_t> words;
    for (size_t i = 0; i < what.arguments.size(); ++i) {
        if (what.arguments[i].kind == Kind::Double) {
            uint32_t halves[2];
            memcpy(halves, &s[i].real, sizeof halves);
            words.insert(words.end(), halves, halves + 2);
        } else {
            words.push_back(static_cast<uint32_t>(s[i].integer));
        }
    }
    if (static_cast<int>(words.size() * 4) != what.argumentBytes)
        throw std::runtime_error(what.name + ": the frame's words do not match its argument bytes");
    int imbalance = 0;
    const INT_PTR result = StdcallChecked(reinterpret_cast<void*>(address), words.data(),
                                          static_cast<int>(words.size()), &imbalance);
    if (imbalance != 0)
        throw std::runtime_error(what.name + ": the call was given " + std::to_string(what.argumentBytes)
            + " argument bytes and removed " + std::to_string(what.argumentBytes + imbalance));
    return result;
#else
    void* const function = reinterpret_cast<void*>(address);
    std::string shape;
    for (const Argument& argument : what.arguments)
        shape += argument.kind == Kind::Double ? 'd' : 'i';
    // Results are taken whole: an int result lies in the low 32 bits, a void
    // export leaves the register undefined and its value is not looked at.
    if (shape == "")
        return reinterpret_cast<I(WINAPI*)()>(function)();
    if (shape == "i")
        return reinterpret_cast<I(WINAPI*)(I)>(function)(s[0].integer);
    if (shape == "ii")
        return reinterpret_cast<I(WINAPI*)(I, I)>(function)(s[0].integer, s[1].integer);
    if (shape == "iii")
        return reinterpret_cast<I(WINAPI*)(I, I, I)>(function)(s[0].integer, s[1].integer, s[2].integer);
    if (shape == "iiii")
        return reinterpret_cast<I(WINAPI*)(I, I, I, I)>(function)(
            s[0].integer, s[1].integer, s[2].integer, s[3].integer);
    if (shape == "iiiii")
        return reinterpret_cast<I(WINAPI*)(I, I, I, I, I)>(function)(
            s[0].integer, s[1].integer, s[2].integer, s[3].integer, s[4].integer);
    if (shape == "idd")
        return reinterpret_cast<I(WINAPI*)(I, double, double)>(function)(s[0].integer, s[1].real, s[2].real);
    throw std::runtime_error(what.name + ": no call of the argument shape " + shape);
#endif
}

}  // namespace Hardening
