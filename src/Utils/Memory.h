#pragma once
// Memory of another process. A common control answers item queries only
// through structures in its own process; for a control of another process the
// query and its text area are placed in a block allocated there, the control
// fills them, and they are copied back. A block is a local object of the
// operation that needs it: made on entry, released on every way out.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>

#include "Utils/Base.h"
#include "Utils/Checking.h"
#include "Utils/Errors.h"

namespace Utils::Memory {

// The query layouts placed in a block: the item at offset 0, its text area
// right after it.
inline constexpr uint32_t TextBytes = 260;
inline constexpr uint32_t TreeItemBytes = sizeof(TVITEMA);
inline constexpr uint32_t ListItemBytes = sizeof(LVITEMA);
inline constexpr uint32_t TreeBlockBytes = TreeItemBytes + TextBytes;
inline constexpr uint32_t ListBlockBytes = ListItemBytes + TextBytes;
#ifndef _WIN64
static_assert(TreeItemBytes == 40 && ListItemBytes == 60, "the 32-bit common-control item layouts");
#endif

// A block of memory: its start address in the owner process, its size and the
// name of the concrete kind (used in error texts). Offsets and sizes are
// checked with the range rule; a size of `Whole` means "to the end".
template <class Address, uint32_t Whole>
class Base {
public:
    virtual ~Base() = default;
    Base(const Base&) = delete;
    Base& operator=(const Base&) = delete;

    // Each returns true or throws a composed text.
    virtual bool GeneralRead(uint32_t offset, void* destination, uint32_t size) = 0;
    virtual bool GeneralPointer(uint32_t offset, Address& address, uint32_t size) = 0;
    // Writes `count` copies of `value`, each as wide as the value needs.
    virtual bool GeneralSet(uint32_t offset, int64_t value, uint32_t count) = 0;
    virtual bool GeneralWrite(uint32_t offset, const void* source, uint32_t size) = 0;

    Address Start() const { return m_address; }
    uint32_t Size() const { return m_size; }
    const std::string& Name() const { return m_name; }

protected:
    explicit Base(const char* name) : m_name(name) {}

    // Fits `size` bytes from `offset` into the block; a request the block
    // cannot serve throws the range text behind the operation's method line.
    bool CheckSizeMemory(const char* operation, uint32_t offset, uint32_t& size) const
    {
        try {
            size = Checking::GetCountDirect("Utils::Memory::Base::CheckSizeMemory", m_size, offset, size);
        } catch (const std::string& text) {
            throw "\n" + Error::MethodHead("Utils::Memory::" + m_name + "::" + operation) + "\n" + text;
        }
        return true;
    }

    Address m_address = 0;
    uint32_t m_size = 0;
    std::string m_name;
};

// Addresses are pointer-sized: 32-bit in the terminal's process, 64-bit in
// the 64-bit build that pairs with 64-bit processes only.
using Block = Base<DWORD_PTR, 0xFFFFFFFF>;

// A block in the memory of another process (or of this one).
class Distant : public Block, public virtual ::Utils::Base {
public:
    // Opens the process and allocates `size` bytes in it; throws what Open or
    // Alloc throws, with nothing left open.
    Distant(DWORD processId, uint32_t size);
    // Frees the block, then closes the process handle, whatever Free gave.
    ~Distant() override;

    HANDLE Open();
    DWORD_PTR Alloc(uint32_t size);
    bool Free();
    bool Close();

    bool GeneralRead(uint32_t offset, void* destination, uint32_t size) override;
    bool GeneralPointer(uint32_t offset, DWORD_PTR& address, uint32_t size) override;
    bool GeneralSet(uint32_t offset, int64_t value, uint32_t count) override;
    bool GeneralWrite(uint32_t offset, const void* source, uint32_t size) override;

    // Leaves the block allocated in the owner process for good (a message
    // that timed out may still be answered into it); only the handle is closed.
    void Keep();

    bool Allocated() const { return m_allocated; }
    DWORD ProcessId() const { return m_processId; }
    HANDLE Process() const { return m_process; }

private:
    void Fill(uint32_t offset, int64_t value, uint32_t count);
    void* At(uint32_t offset) const { return reinterpret_cast<void*>(m_address + offset); }

    bool m_allocated = false;
    DWORD m_processId = 0;
    HANDLE m_process = nullptr;
};

}  // namespace Utils::Memory

namespace Utils {

// A zero-terminated ANSI buffer of a fixed number of characters.
class _STRINGBUFA {
public:
    explicit _STRINGBUFA(uint32_t length) : m_text(length, '\0') {}
    // The characters; throws on an empty buffer.
    char* Pointer();
    uint32_t Length() const { return static_cast<uint32_t>(m_text.size()); }
    // The text up to its first zero byte.
    std::string Text() const { return std::string(m_text.c_str()); }

private:
    std::string m_text;
};

template <class T>
void Base::Write(Memory::Block& block, const T& structure)
{
    if (!block.GeneralWrite(0, &structure, sizeof(T)))
        throw Error::MethodLines("Utils::Base::Write", "Данные в память не записаны.");
}

template <class T>
T Base::Read(Memory::Block& block)
{
    T copy {};
    if (!block.GeneralRead(0, &copy, sizeof(T)))
        throw Error::MethodLines("Utils::Base::Read", "Данные в переменную из памяти не прочитаны.");
    return copy;
}

}  // namespace Utils
