#pragma once
// The buffer through which text results are handed to callers. Each calling
// thread has its own buffer: a returned pointer stays valid until the same
// thread's next text result (ANSI or UTF-16), and two programs never read
// each other's text.
#include <windows.h>
#include <map>
#include <string>

#include "Utils/Base.h"
#include "Utils/Sync.h"

namespace MT4 {

class SyncText : public virtual Utils::Base {
public:
    // Stores `source` up to its first zero byte, followed by two zero bytes,
    // in the calling thread's buffer and returns a pointer to it.
    const char* Set(const char* source);
    const char* Set(const std::string& source) { return Set(source.c_str()); }
    // The same for a UTF-16 text: up to its first zero, then two zeros.
    const wchar_t* Set(const std::wstring& source);

private:
    struct Texts {
        std::string ansi;
        std::wstring wide;
    };
    std::map<DWORD, Texts> m_text;  // by thread id
    Utils::Sync::CriticalSection m_lock;
};

}  // namespace MT4
