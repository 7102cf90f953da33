#include "Utils/Sync.h"

#include "Utils/Errors.h"
#include "Utils/Wait.h"

namespace Utils::Sync {

namespace {

// Composes "<method head>\n<detail>" + the last-error text of a failed call.
std::string Failure(const char* method, const std::string& detail, DWORD code)
{
    return Error::Method(method, detail) + LastErrorText(code);
}

} // namespace

CriticalSection::CriticalSection()
{
    if (!InitializeCriticalSectionAndSpinCount(&m_section, 1)) {
        const DWORD code = GetLastError();
        throw Error::MethodHead("Utils::Sync::CriticalSection::Init") + LastErrorText(code);
    }
}

CriticalSection::~CriticalSection()
{
    DeleteCriticalSection(&m_section);
}

HANDLE Mutex::Create(const std::string& name, BOOL initialOwner, DWORD waitTimeout)
{
    Close();  // a mutex created again (a new start-up) lets go of the old handle
    m_lastError = 0;
    m_waitTimeout = waitTimeout;
    m_handle = nullptr;
    m_name = name;
    SetLastError(0);
    m_handle = CreateMutexA(nullptr, initialOwner, m_name.c_str());
    if (!m_handle) {
        const DWORD code = GetLastError();
        throw Failure("Utils::Sync::Mutex::Create", "Мьютекс \"" + m_name + "\" не создан.", code);
    }
    m_lastError = GetLastError();
    return m_handle;
}

void Mutex::Release()
{
    if (m_handle && !ReleaseMutex(m_handle)) {
        const DWORD code = GetLastError();
        throw Failure("Utils::Sync::Mutex::Release", "Мьютекс \"" + m_name + "\" не освобождён.", code);
    }
}

void Mutex::Close()
{
    if (m_handle) {
        HANDLE handle = m_handle;
        m_handle = nullptr;
        if (!CloseHandle(handle)) {
            const DWORD code = GetLastError();
            throw Failure("Utils::Sync::Mutex::Close", "Мьютекса: \"" + m_name + "\" не закрыт.", code);
        }
    }
}

Mutex::~Mutex()
{
    try {
        Close();
    } catch (...) {
        // A destructor has no one to report to; the handle is gone either way.
    }
    m_name.clear();
}

Lock<Mutex>::Lock(Mutex& mutex)
    : m_object(&mutex)
{
    if (m_object->Handle()) {
        const DWORD result = Wait::ForHandle(m_object->Handle(), m_object->WaitTimeout());
        m_acquired = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    }
}

Lock<Mutex>::~Lock()
{
    if (m_acquired) {
        try {
            m_object->Release();
        } catch (...) {
            // Releasing a mutex this thread owns does not fail; a destructor
            // must not throw in any case.
        }
    }
}

HANDLE Event::Create(const std::string& name, BOOL manualReset, BOOL initialState, DWORD waitTimeout)
{
    Close();
    m_initialState = initialState;
    m_manualReset = manualReset;
    m_waitTimeout = waitTimeout;
    m_name = name;
    m_lastError = 0;
    m_handle = nullptr;
    SetLastError(0);
    m_handle = CreateEventA(nullptr, manualReset, initialState, m_name.c_str());
    if (!m_handle) {
        const DWORD code = GetLastError();
        throw Failure("Utils::Sync::Event::Create", "Событие \"" + m_name + "\" не создано.", code);
    }
    m_lastError = GetLastError();
    return m_handle;
}

HANDLE Event::Open(const std::string& name)
{
    Close();
    m_name = name;
    m_lastError = 0;
    m_handle = nullptr;
    m_handle = OpenEventA(EVENT_ALL_ACCESS, TRUE, m_name.c_str());
    if (!m_handle) {
        const DWORD code = GetLastError();
        throw Failure("Utils::Sync::Event::Open", "Событие \"" + m_name + "\" не открыто.", code);
    }
    m_lastError = GetLastError();
    return m_handle;
}

void Event::Set()
{
    if (m_handle && !SetEvent(m_handle)) {
        const DWORD code = GetLastError();
        throw Failure("Utils::Sync::Event::Set", "Имя события: \"" + m_name + "\".", code);
    }
}

void Event::Reset()
{
    if (m_handle && !ResetEvent(m_handle)) {
        const DWORD code = GetLastError();
        throw Failure("Utils::Sync::Event::Reset", "Событие \"" + m_name + "\" не сброщено.", code);
    }
}

void Event::Close()
{
    if (m_handle) {
        HANDLE handle = m_handle;
        m_handle = nullptr;
        if (!CloseHandle(handle)) {
            const DWORD code = GetLastError();
            throw Failure("Utils::Sync::Event::Close", "Событие \"" + m_name + "\" не закрыто.", code);
        }
    }
}

Event::~Event()
{
    try {
        Close();
    } catch (...) {
    }
    m_name.clear();
}

} // namespace Utils::Sync
