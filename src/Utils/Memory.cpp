#include "Utils/Memory.h"

#include "Utils/Types.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace Utils::Memory {

namespace {

// `size` bytes of copies of `value` converted to T (the last copy may be cut).
template <class T>
std::vector<unsigned char> Copies(int64_t value, uint32_t size)
{
    const std::vector<T> elements((size + sizeof(T) - 1) / sizeof(T), static_cast<T>(value));
    std::vector<unsigned char> bytes(size);
    std::memcpy(bytes.data(), elements.data(), size);
    return bytes;
}

std::string PointerText(HANDLE handle)
{
    char text[2 * sizeof(void*) + 1] = {};
    std::snprintf(text, sizeof text, "%p", handle);
    return text;
}

}  // namespace

Distant::Distant(DWORD processId, uint32_t size) : Block("Distant"), m_processId(processId)
{
    Open();
    try {
        m_address = Alloc(size);
    } catch (...) {
        // The destructor of a block that was never made does not run.
        CloseHandle(m_process);
        m_process = nullptr;
        throw;
    }
    m_allocated = m_address != 0;
}

Distant::~Distant()
{
    // A destructor must not throw: a block that cannot be released is left
    // to the owner process.
    try {
        if (m_address && Free())
            m_address = 0;
    } catch (...) {
    }
    m_allocated = false;
    try {
        Close();
    } catch (...) {
    }
    m_processId = 0;
    m_process = nullptr;
    m_name.clear();
}

void Distant::Keep()
{
    m_address = 0;
    m_allocated = false;
}

HANDLE Distant::Open()
{
    SetLastError(0);
    m_process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, m_processId);
    const DWORD code = GetLastError();
    if (!m_process || code != 0) {
        if (m_process)
            CloseHandle(m_process);
        m_process = nullptr;
        throw Error::MethodLines(
            "Utils::Memory::Distant::Open", "Не получен системный дескриптор процесса.\n", code);
    }
    return m_process;
}

DWORD_PTR Distant::Alloc(uint32_t size)
{
    m_size = size;
    SetLastError(0);
    if (!m_process)
        throw Error::MethodLines("Utils::Memory::Distant::Alloc", "Отсутствует системный дескриптор процесса.");
    void* start = VirtualAllocEx(m_process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!start)
        throw Error::MethodLines("Utils::Memory::Distant::Alloc", "Не получен начальный адрес.\n", GetLastError());
    return reinterpret_cast<DWORD_PTR>(start);
}

bool Distant::Free()
{
    if (!m_address)
        return true;
    SetLastError(0);
    const BOOL released = VirtualFreeEx(m_process, At(0), 0, MEM_RELEASE);
    const DWORD code = GetLastError();
    if (!released || code != 0)
        throw Error::MethodLines("Utils::Memory::Distant::Free", "Память не освобождена.\n", code);
    return true;
}

bool Distant::Close()
{
    if (!m_process)
        return true;
    SetLastError(0);
    const BOOL closed = CloseHandle(m_process);
    const DWORD code = GetLastError();
    if (!closed || code != 0)
        throw Error::MethodLines("Utils::Memory::Distant::Close",
            "Не закрыт системный дескриптор процесса: " + PointerText(m_process) + "\n", code);
    m_process = nullptr;
    return true;
}

bool Distant::GeneralRead(uint32_t offset, void* destination, uint32_t size)
{
    CheckSizeMemory("GeneralRead", offset, size);
    SetLastError(0);
    SIZE_T read = 0;
    const BOOL copied = ReadProcessMemory(m_process, At(offset), destination, size, &read);
    const DWORD code = GetLastError();
    if (!copied || read != size || code != 0)
        throw Error::MethodLines("Utils::Memory::" + m_name + "::GeneralRead", "Данные из памяти не прочитаны.", code);
    return true;
}

bool Distant::GeneralWrite(uint32_t offset, const void* source, uint32_t size)
{
    CheckSizeMemory("GeneralWrite", offset, size);
    SetLastError(0);
    SIZE_T written = 0;
    const BOOL copied = WriteProcessMemory(m_process, At(offset), source, size, &written);
    const DWORD code = GetLastError();
    if (!copied || written != size || code != 0)
        throw Error::MethodLines("Utils::Memory::" + m_name + "::GeneralWrite", "Данные в память не записаны.", code);
    return true;
}

bool Distant::GeneralPointer(uint32_t offset, DWORD_PTR& address, uint32_t size)
{
    CheckSizeMemory("GeneralPointer", offset, size);
    address = m_address + offset;
    return true;
}

bool Distant::GeneralSet(uint32_t offset, int64_t value, uint32_t count)
{
    const std::string method = "Utils::Memory::" + m_name + "::GeneralSet";
    try {
        Fill(offset, value, count);
    } catch (const std::string& text) {
        throw "\n" + Error::MethodHead(method) + "\n" + text;
    } catch (const char* text) {
        throw "\n" + Error::MethodHead(method) + "\n" + text;
    } catch (...) {
        const DWORD code = GetLastError();
        throw "\n" + Error::MethodHead(method) + "\n" + Error::MethodLines(method, "Память не заполнена.", code);
    }
    return true;
}

// The bytes to write are counted in 64 bits and cut to the block before any
// copy is made, so a count beyond the block neither wraps nor allocates more
// than the block holds.
void Distant::Fill(uint32_t offset, int64_t value, uint32_t count)
{
    const std::string method = "Utils::Memory::" + m_name + "::GeneralSet";
    const int width = Types::Bytes(value);
    if (count == 0)
        return;
    const uint64_t wanted = static_cast<uint64_t>(width < 0 ? -width : width) * count;
    uint32_t size = wanted >= 0xFFFFFFFF ? 0xFFFFFFFF : static_cast<uint32_t>(wanted);
    CheckSizeMemory("GeneralSet", offset, size);
    std::vector<unsigned char> bytes;
    switch (width) {
    case -1:
        bytes = Copies<int8_t>(value, size);
        break;
    case 1:
        bytes = Copies<uint8_t>(value, size);
        break;
    case -2:
        bytes = Copies<int16_t>(value, size);
        break;
    case 2:
        bytes = Copies<uint16_t>(value, size);
        break;
    case -4:
        bytes = Copies<int32_t>(value, size);
        break;
    case 4:
        bytes = Copies<uint32_t>(value, size);
        break;
    case -8:
        bytes = Copies<int64_t>(value, size);
        break;
    case 8:
        bytes = Copies<uint64_t>(value, size);
        break;
    default:
        throw Error::MethodLines(
            method, "Получено неправильное количество байт занимаемое значением: " + std::to_string(width) + ".");
    }
    SetLastError(0);
    SIZE_T written = 0;
    const BOOL copied = WriteProcessMemory(m_process, At(offset), bytes.data(), size, &written);
    const DWORD code = GetLastError();
    if (!copied || written != size || code != 0)
        throw Error::MethodLines(method,
            "Данные в память не записаны при заполнении " + std::to_string(width) + " байтовыми значениями.", code);
}

}  // namespace Utils::Memory

namespace Utils {

char* _STRINGBUFA::Pointer()
{
    if (m_text.empty())
        throw "Ошибка в методе \"Utils::_STRINGBUFA::Pointer()\".\nБуфер пуст.";
    return &m_text[0];
}

void Base::Write(Memory::Block& block, uint32_t variable)
{
    if (!block.GeneralWrite(0, &variable, sizeof variable))
        throw Error::MethodLines("Utils::Base::Write", "Переменная в память не записана.");
}

void Base::Write(Memory::Block& block, const void* data, uint32_t size)
{
    if (!block.GeneralWrite(0, data, size))
        throw Error::MethodLines("Utils::Base::Write", "Данные в память не записаны.");
}

void Base::ReadA(Memory::Block& block, char* destination, uint32_t total, uint32_t start)
{
    const uint32_t count = Checking::GetCountDirect("Utils::Base::ReadA", total, start, 0xFFFFFFFF);
    if (!block.GeneralRead(Memory::TreeItemBytes, destination + start, count))
        throw Error::MethodLines("Utils::Base::ReadA", "Строка из памяти не прочитана.");
}

std::string Base::ReadA(Memory::Block& block, uint32_t length)
{
    _STRINGBUFA buffer(length);
    if (length == 0)
        return buffer.Text();
    if (!block.GeneralRead(Memory::ListItemBytes, buffer.Pointer(), length))
        throw Error::MethodLines("Utils::Base::ReadA", "Строка из памяти не прочитана.");
    return buffer.Text();
}

}  // namespace Utils
