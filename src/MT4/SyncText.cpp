#include "MT4/SyncText.h"

namespace MT4 {

const char* SyncText::Set(const char* source)
{
    Utils::Sync::Lock<Utils::Sync::CriticalSection> lock(m_lock);
    Texts& texts = m_text[GetCurrentThreadId()];
    texts.wide.clear();
    texts.ansi.assign(source);
    texts.ansi.push_back('\0');
    return texts.ansi.c_str();
}

const wchar_t* SyncText::Set(const std::wstring& source)
{
    Utils::Sync::Lock<Utils::Sync::CriticalSection> lock(m_lock);
    Texts& texts = m_text[GetCurrentThreadId()];
    texts.ansi.clear();
    texts.wide.assign(source.c_str());
    texts.wide.push_back(L'\0');
    return texts.wide.c_str();
}

}  // namespace MT4
