#include "ExportTable.h"
#include "standin/Helpers.h"
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <tuple>

namespace Hardening {

namespace {

std::vector<std::vector<std::string>> Rows(const std::string& file)
{
    char path[MAX_PATH] = "";
    const std::string self(path, GetModuleFileNameA(nullptr, path, sizeof path));
    std::ifstream in(self.substr(0, self.find_last_of("\\/") + 1) + file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + file);
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(in, line);) {
        line.erase(line.find_last_not_of('\r') + 1);
        if (line.empty() || line[0] == '#')
            continue;
        std::stringstream cells(line);
        auto& row = rows.emplace_back();
        for (std::string cell; std::getline(cells, cell, '\t');)
            row.push_back(cell);
    }
    return rows;
}

Argument ArgumentOf(const std::string& row, const std::string& text)
{
    std::stringstream words(text);
    std::string type, name;
    words >> type >> name;
    const bool array = name.size() > 2 && name.compare(name.size() - 2, 2, "[]") == 0;
    if (array)
        name.resize(name.size() - 2);
    static const std::map<std::string, Kind> kinds = { { "int", Kind::Int }, { "double", Kind::Double },
        { "string", Kind::Text }, { "int&[]", Kind::IntArray }, { "string&[]", Kind::TextArray } };
    const auto kind = kinds.find(type + (array ? "[]" : ""));
    if (kind == kinds.end())
        throw std::runtime_error(row + ": argument of unknown type: " + text);
    return { kind->second, name };
}

std::vector<Export> Read()
{
    std::map<std::string, std::pair<int, std::string>> table;  // name -> argument bytes, neutral
    for (const auto& row : Rows("exports.tsv"))
        if (row.at(0) != "name")
            table[row.at(0)] = { std::stoi(row.at(1)), row.at(2) };
    std::vector<Export> exports;
    for (const auto& row : Rows("reference.tsv")) {
        if (row.at(0) == "family")
            continue;
        Export entry { row[0], {}, row.at(2), "", row.at(5), row.at(7) };
        std::stringstream list(row[1] == "-" ? "" : row[1]);
        int bytes = 0;
        for (std::string one; std::getline(list, one, ',');) {
            entry.arguments.push_back(ArgumentOf(entry.name, one));
            bytes += entry.arguments.back().kind == Kind::Double ? 8 : 4;  // the 32-bit frame
        }
        std::tie(entry.argumentBytes, entry.neutral) = table.at(entry.name);  // throws for one exports.tsv lacks
        table.erase(entry.name);
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

#ifndef _WIN64
// Pushes the words last to first, calls, and hands back what the callee left of the stack (0: all removed).
extern "C" INT_PTR __cdecl StdcallChecked(void* function, const uint32_t* words, int count, int* imbalance);
asm(".text\n.globl _StdcallChecked\n_StdcallChecked: pushl %ebp; movl %esp, %ebp; pushl %esi; pushl %edi\n"
    "pushl %ebx; movl %esp, %edi; movl 12(%ebp), %esi; movl 16(%ebp), %ecx\n"
    "1: testl %ecx, %ecx; jz 2f; decl %ecx; pushl (%esi,%ecx,4); jmp 1b\n"
    "2: call *8(%ebp); movl %edi, %ecx; subl %esp, %ecx; negl %ecx; movl %edi, %esp\n"
    "movl 20(%ebp), %ebx; movl %ecx, (%ebx); popl %ebx; popl %edi; popl %esi; popl %ebp; ret\n");
#endif

}  // namespace

const std::vector<Export>& Exports() { static const std::vector<Export> exports = Read(); return exports; }

const Export& ExportNamed(const std::string& name)
{
    for (const Export& entry : Exports())
        if (entry.name == name)
            return entry;
    throw std::runtime_error(name + " has no row");
}

FARPROC Address(const Export& what) { return GetProcAddress(GetModuleHandleA("RazozazER4.dll"), what.name.c_str()); }

void CancelDialogs(DWORD uiThread)
{
    for (HWND window : StandInTest::WindowsOfThisProcess())
        if (!GetParent(window) && IsWindowVisible(window) && StandInTest::ClassOf(window) == "#32770"
            && GetWindowThreadProcessId(window, nullptr) == uiThread) {
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            for (int i = 0; i < 200 && IsWindow(window); ++i)
                Sleep(10);
        }
}

INT_PTR Invoke(const Export& what, const std::vector<Slot>& s)
{
    void* const function = reinterpret_cast<void*>(Address(what));
    if (!function)
        throw std::runtime_error(what.name + " is not exported");
#ifndef _WIN64
    std::vector<uint32_t> words;  // doubles as two words each
    for (size_t i = 0; i < what.arguments.size(); ++i) {
        uint32_t halves[2] = { static_cast<uint32_t>(s[i].integer) };
        const bool real = what.arguments[i].kind == Kind::Double;
        std::memcpy(halves, &s[i].real, real ? sizeof halves : 0);
        words.insert(words.end(), halves, halves + (real ? 2 : 1));
    }
    int imbalance = 0;
    const INT_PTR result = StdcallChecked(function, words.data(), static_cast<int>(words.size()), &imbalance);
    if (imbalance != 0)
        throw std::runtime_error(what.name + ": the call was given " + std::to_string(what.argumentBytes)
            + " argument bytes and removed " + std::to_string(what.argumentBytes + imbalance));
    return result;
#else
    // The caller removes the arguments here: ints the export does not take are harmless.
    using I = INT_PTR;
    std::string shape;
    I ints[5] = {};
    for (size_t i = 0; i < what.arguments.size(); ++i) {
        shape += what.arguments[i].kind == Kind::Double ? 'd' : 'i';
        if (i < 5)
            ints[i] = s[i].integer;
    }
    if (shape == "idd")
        return reinterpret_cast<I(WINAPI*)(I, double, double)>(function)(s[0].integer, s[1].real, s[2].real);
    if (shape.size() > 5 || shape.find('d') != std::string::npos)
        throw std::runtime_error(what.name + ": no call of the argument shape " + shape);
    return reinterpret_cast<I(WINAPI*)(I, I, I, I, I)>(function)(ints[0], ints[1], ints[2], ints[3], ints[4]);
#endif
}

}  // namespace Hardening
