#pragma once
// Wrappers of the Win32 synchronisation objects. Every failure of a Win32
// call is thrown as a composed text with the last-error text appended.
#include <windows.h>
#include <string>

namespace Utils::Sync {

class CriticalSection {
public:
    CriticalSection();
    virtual ~CriticalSection();
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    CRITICAL_SECTION* Get() { return &m_section; }

private:
    CRITICAL_SECTION m_section;
};

// A named Win32 mutex.
class Mutex {
public:
    Mutex() = default;
    virtual ~Mutex();
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;

    HANDLE Create(const std::string& name, BOOL initialOwner, DWORD waitTimeout);
    void Release();
    void Close();

    DWORD LastError() const { return m_lastError; }
    DWORD WaitTimeout() const { return m_waitTimeout; }
    HANDLE Handle() const { return m_handle; }
    const std::string& Name() const { return m_name; }

private:
    DWORD m_lastError = 0;
    DWORD m_waitTimeout = INFINITE;
    HANDLE m_handle = nullptr;
    std::string m_name;
};

// A named Win32 event.
class Event {
public:
    Event() = default;
    virtual ~Event();
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    HANDLE Create(const std::string& name, BOOL manualReset, BOOL initialState, DWORD waitTimeout);
    HANDLE Open(const std::string& name);
    void Set();
    void Reset();
    void Close();

    DWORD LastError() const { return m_lastError; }
    DWORD WaitTimeout() const { return m_waitTimeout; }
    HANDLE Handle() const { return m_handle; }
    const std::string& Name() const { return m_name; }

private:
    BOOL m_initialState = FALSE;
    BOOL m_manualReset = FALSE;
    DWORD m_lastError = 0;
    DWORD m_waitTimeout = INFINITE;
    HANDLE m_handle = nullptr;
    std::string m_name;
};

// Scoped acquisition: the constructor acquires, the destructor releases.
template <class T>
class Lock;

template <>
class Lock<CriticalSection> {
public:
    explicit Lock(CriticalSection& section) : m_object(&section), m_section(section.Get())
    {
        EnterCriticalSection(m_section);
    }
    virtual ~Lock()
    {
        if (m_object)
            LeaveCriticalSection(m_section);
    }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    CriticalSection* m_object;
    CRITICAL_SECTION* m_section;
};

template <>
class Lock<Mutex> {
public:
    // Waits with the mutex's own time-out. The guarded code runs whatever the
    // wait gave; only a wait that acquired the mutex is paired with a release.
    explicit Lock(Mutex& mutex);
    virtual ~Lock();
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

    bool Acquired() const { return m_acquired; }

private:
    Mutex* m_object;
    bool m_acquired = false;
};

}  // namespace Utils::Sync
