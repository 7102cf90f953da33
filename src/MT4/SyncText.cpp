#include "MT4/SyncText.h"

namespace MT4 {

const char* SyncText::Set(const char* source)
{
    Utils::Sync::Lock<Utils::Sync::CriticalSection> lock(m_lock);
    std::string& text = m_text[GetCurrentThreadId()];
    text.assign(source);
    text.push_back('\0');
    return text.c_str();
}

}  // namespace MT4
