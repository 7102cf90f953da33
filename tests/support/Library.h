#pragma once
// RazozazER4.dll loaded by name, as the terminal loads it for the programs
// that import it, and its exports taken by name.
#include <windows.h>

#include <stdexcept>
#include <string>

namespace Support {

class Library {
public:
    Library() : m_module(LoadLibraryA("RazozazER4.dll"))
    {
        if (!m_module)
            throw std::runtime_error("RazozazER4.dll not loaded");
    }
    ~Library() { FreeLibrary(m_module); }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    // The export `name` as a function of type F (a WINAPI function pointer).
    template <class F>
    F Get(const char* name) const
    {
        FARPROC address = GetProcAddress(m_module, name);
        if (!address)
            throw std::runtime_error(std::string("not exported: ") + name);
        return reinterpret_cast<F>(reinterpret_cast<void*>(address));
    }

private:
    HMODULE m_module;
};

using VoidFn = void(WINAPI*)();
using IntFn = int32_t(WINAPI*)();
using IntOfIntFn = int32_t(WINAPI*)(int32_t);
using VoidOfIntFn = void(WINAPI*)(int32_t);
using VoidOfIntIntFn = void(WINAPI*)(int32_t, int32_t);
using TextFn = const char*(WINAPI*)();
using VoidOfTextFn = void(WINAPI*)(const char*);

}  // namespace Support
