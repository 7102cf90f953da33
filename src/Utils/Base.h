#pragma once
// Reference-counted singletons. Every singleton class derives virtually from
// Utils::Base and is reached only through Utils::Pointer<T>; constructing a
// Utils::Pointer<T> on the stack takes the singleton (creating it on first use).
#include <windows.h>
#include <cstddef>
#include <cstdint>
#include <string>

#include "Utils/Sync.h"

namespace Utils {

// The process-wide lock that guards every reference-count change and every
// read-and-clear of a pointer field. Created on first use.
CRITICAL_SECTION* PointerLock();
// Destroys the pointer lock (module unload); a later use creates it again.
void DeletePointerLock();

// Holds the pointer lock for its scope.
class PointerLockGuard {
public:
    PointerLockGuard() { EnterCriticalSection(PointerLock()); }
    ~PointerLockGuard() { LeaveCriticalSection(PointerLock()); }
    PointerLockGuard(const PointerLockGuard&) = delete;
    PointerLockGuard& operator=(const PointerLockGuard&) = delete;
};

namespace Memory {
template <class Address, uint32_t Whole>
class Base;
using Block = Base<DWORD_PTR, 0xFFFFFFFF>;
}  // namespace Memory

class Base {
public:
    Base() = default;
    virtual ~Base() = default;
    virtual bool Less(const Base& other) const;
    virtual bool Equals(const Base& other) const;

    // Drops one reference; the last one destroys the object.
    void Release();
    LONG Count() const { return m_count; }

    // Typed transfers between local data and a memory block (Utils/Memory.h).
    // Write and Read work at offset 0; each throws when the block fails.
    static void Write(Memory::Block& block, uint32_t variable);
    template <class T>
    static void Write(Memory::Block& block, const T& structure);
    static void Write(Memory::Block& block, const void* data, uint32_t size);
    template <class T>
    static T Read(Memory::Block& block);
    // A tree-view text: the rest of the text area after the tree item (as the
    // range rule fits `total` from `start`) into destination + start.
    static void ReadA(Memory::Block& block, char* destination, uint32_t total, uint32_t start);
    // A list-view text of `length` characters from the text area after the
    // list item, up to its first zero byte; length 0 reads nothing.
    static std::string ReadA(Memory::Block& block, uint32_t length);

private:
    template <class T>
    friend class Pointer;
    LONG m_count = 0;
};

template <class T>
class Pointer {
public:
    // Takes the singleton of T: creates it under T's creation lock if it does
    // not exist yet, and holds one reference to it.
    Pointer() : m_object(nullptr)
    {
        Sync::Lock<Sync::CriticalSection> lock(CreationLock());
        if (!s_holder.m_object)
            s_holder = new T();
        Hold(s_holder.m_object);
    }

    constexpr Pointer(std::nullptr_t) : m_object(nullptr) {}

    Pointer(const Pointer& other) : m_object(nullptr) { Hold(other.m_object); }

    Pointer& operator=(T* object)
    {
        T* old;
        {
            PointerLockGuard lock;
            old = m_object;
            m_object = nullptr;
            if (object) {
                static_cast<Base*>(object)->m_count++;
                m_object = object;
            }
        }
        if (old)
            static_cast<Base*>(old)->Release();
        return *this;
    }

    Pointer& operator=(const Pointer& other)
    {
        if (this != &other)
            *this = other.m_object;
        return *this;
    }

    virtual ~Pointer()
    {
        T* old;
        {
            PointerLockGuard lock;
            old = m_object;
            m_object = nullptr;
        }
        if (old)
            static_cast<Base*>(old)->Release();
    }

    T* operator->() const { return m_object; }
    T& operator*() const { return *m_object; }
    T* Get() const { return m_object; }

    // Makes `fresh` the singleton, whole: a Pointer taken from now on holds
    // it, while every Pointer taken before keeps the object it holds alive
    // until it lets go.
    static void Publish(const Pointer& fresh)
    {
        Sync::Lock<Sync::CriticalSection> lock(CreationLock());
        s_holder = fresh;
    }

private:
    void Hold(T* object)
    {
        PointerLockGuard lock;
        if (object)
            static_cast<Base*>(object)->m_count++;
        m_object = object;
    }

    static Sync::CriticalSection& CreationLock()
    {
        static Sync::CriticalSection lock;
        return lock;
    }

    T* m_object;
    // Holds the singleton's first reference until the library is unloaded.
    static constinit inline Pointer<T> s_holder { nullptr };
};

}  // namespace Utils
