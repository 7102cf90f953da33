// Blocks of process memory: cuts at the block's end, fills of every width, failures, a block in another process.
#include <gtest/gtest.h>
#include <cstring>
#include <vector>
#include "Common.h"
#include "Utils/Errors.h"
#include "Utils/Memory.h"
#include "Utils/Types.h"
#include "support/StandInProcess.h"
#include "support/Thrown.h"

using Utils::Memory::Distant;

namespace {

using Bytes = std::vector<unsigned char>;
using Support::Thrown;

const char* const CheckSize = "Utils::Memory::Base::CheckSizeMemory";

std::string PastTheEnd(const char* operation, uint32_t total, uint32_t start, uint32_t count)
{
    return std::string("\nОшибка в методе \"Utils::Memory::Distant::") + operation + "()\".\n"
        + Rejection(CheckSize, total, start, count);
}

template <class T>
Bytes Repeated(T value, size_t count)
{
    Bytes bytes(count * sizeof value);
    for (size_t i = 0; i < count; ++i)
        std::memcpy(bytes.data() + i * sizeof value, &value, sizeof value);
    return bytes;
}

Bytes operator+(Bytes left, const Bytes& right) { return left.insert(left.end(), right.begin(), right.end()), left; }

Bytes Zeros(size_t count) { return Bytes(count, 0); }

// A handle opened and closed at once: the value the next open gets.
HANDLE NextHandle()
{
    HANDLE handle = OpenProcess(PROCESS_VM_OPERATION, FALSE, GetCurrentProcessId());
    return CloseHandle(handle), handle;
}

TEST(TypesBytesTest, NarrowestSignedOrUnsignedWidth)
{
    using Utils::Types::Bytes;
    for (const auto& [value, width] : { std::pair<int64_t, int> { 0, 1 }, { 127, -1 }, { -128, -1 }, { 128, -2 },
             { -129, -2 }, { 32767, -2 }, { -32769, -4 }, { 2147483647, -4 }, { 2147483648, -8 }, { INT64_MIN, -8 } })
        EXPECT_EQ(Bytes(value), width) << value;
    for (const auto& [value, width] : { std::pair<uint64_t, int> { 0, 1 }, { 255, 1 }, { 256, 2 }, { 65536, 4 },
             { 4294967296, 8 }, { UINT64_MAX, 8 } })
        EXPECT_EQ(Bytes(value), width) << value;
    EXPECT_EQ(Thrown([] { Bytes(1.5); }), "Ошибка в функции \"Utils::Types::Bytes()\".\nНеподходящий тип данных.");
}

TEST(DistantTest, ReadsWritesAndFillsAreCutAtTheEndOfTheBlock)
{
    Distant block(GetCurrentProcessId(), 300);
    EXPECT_TRUE(block.Allocated());
    Bytes pattern(300);
    for (size_t i = 0; i < pattern.size(); ++i)
        pattern[i] = static_cast<unsigned char>(i * 7);
    EXPECT_TRUE(block.GeneralWrite(0, pattern.data(), 0xFFFFFFFF));
    Bytes out(500, 0xAA);
    EXPECT_TRUE(block.GeneralRead(40, out.data(), 500));
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 261), Bytes(pattern.begin() + 40, pattern.end()) + Bytes { 0xAA });
    DWORD_PTR address = 0;
    EXPECT_TRUE(block.GeneralPointer(299, address, 0xFFFFFFFF));
    EXPECT_EQ(address, block.Start() + 299);
    EXPECT_EQ(Thrown([&] { block.GeneralRead(300, out.data(), 500); }), PastTheEnd("GeneralRead", 300, 300, 500));
    EXPECT_EQ(Thrown([&] { block.GeneralWrite(301, out.data(), 1); }), PastTheEnd("GeneralWrite", 300, 301, 1));
    EXPECT_EQ(Thrown([&] { block.GeneralPointer(300, address, 0xFFFFFFFF); }),
        PastTheEnd("GeneralPointer", 300, 300, 0xFFFFFFFF));
    EXPECT_EQ(Thrown([&] { block.GeneralSet(300, 5, 1); }),
        "\nОшибка в методе \"Utils::Memory::Distant::GeneralSet()\".\n" + PastTheEnd("GeneralSet", 300, 300, 1));
    EXPECT_EQ(Thrown([&] { block.GeneralRead(0, out.data(), 0); }),
        "\nОшибка в методе \"Utils::Memory::Distant::GeneralRead()\".\n" + Head(CheckSize)
            + "\nОтсутствует количество элементов.");

    // Each fill on a fresh block of 32 bytes, in the width its value needs.
    const int64_t big = int64_t(1) << 40;
    const struct { uint32_t offset; int64_t value; uint32_t count; Bytes expected; } fills[] = {
        { 0, 5, 0, Zeros(32) }, { 0, 5, 10, Repeated<int8_t>(5, 10) + Zeros(22) }, { 0, 0, 10, Zeros(32) },
        { 2, -2, 3, Zeros(2) + Repeated<int8_t>(-2, 3) + Zeros(27) },
        { 0, 300, 2, Repeated<int16_t>(300, 2) + Zeros(28) }, { 0, 70000, 3, Repeated<int32_t>(70000, 3) + Zeros(20) },
        { 0, big, 2, Repeated<int64_t>(big, 2) + Zeros(16) },
        { 26, 70000, 3, Zeros(26) + Repeated<int32_t>(70000, 1) + Bytes { 0x70, 0x11 } },  // the last one cut
        { 0, 7, 0xFFFFFFFF, Repeated<int8_t>(7, 32) },  // counts whose bytes pass 32 bits
        { 8, big, 0x80000000, Zeros(8) + Repeated<int64_t>(big, 3) },
    };
    for (const auto& fill : fills) {
        Distant fresh(GetCurrentProcessId(), 32);
        Bytes read(32);
        EXPECT_TRUE(fresh.GeneralSet(fill.offset, fill.value, fill.count) && fresh.GeneralRead(0, read.data(), 32));
        EXPECT_EQ(read, fill.expected) << fill.offset << " " << fill.value << " " << fill.count;
    }
}

TEST(DistantTest, FailuresNameTheMethodAndLeaveNoHandleOpen)
{
    // A closed handle's value is handed out again by the next open, unless a handle was left open.
    const HANDLE next = NextHandle();
    ASSERT_EQ(NextHandle(), next);
    EXPECT_EQ(Thrown([] { Distant block(0xFFFFFFF0, 300); }),
        "\nОшибка в методе \"Utils::Memory::Distant::Open()\".\nНе получен системный дескриптор процесса.\n"
            + LastErrorText(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(Thrown([] { Distant block(GetCurrentProcessId(), 0); }),
        "\nОшибка в методе \"Utils::Memory::Distant::Alloc()\".\nНе получен начальный адрес.\n"
            + LastErrorText(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(NextHandle(), next);
    EXPECT_EQ(Thrown([] { Utils::_STRINGBUFA(0).Pointer(); }),
        "Ошибка в методе \"Utils::_STRINGBUFA::Pointer()\".\nБуфер пуст.");
    HANDLE mine = nullptr;
    {
        Distant block(GetCurrentProcessId(), 300);
        mine = block.Process();
        EXPECT_TRUE(block.Free());
        SetLastError(0);  // what the system says to a second release of the same block
        VirtualFreeEx(block.Process(), reinterpret_cast<void*>(block.Start()), 0, MEM_RELEASE);
        const DWORD code = GetLastError();
        ASSERT_NE(code, 0u);
        EXPECT_EQ(Thrown([&] { block.Free(); }),
            "\nОшибка в методе \"Utils::Memory::Distant::Free()\".\nПамять не освобождена.\n" + LastErrorText(code));
    }  // the destructor's release fails as well; it closes the handle all the same
    EXPECT_EQ(NextHandle(), mine);
}

TEST(DistantTest, ABlockInAnotherProcessIsFreedWhenItGoes)
{
    Support::StandInProcess standIn("english");
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, standIn.Pid());
    ASSERT_NE(process, nullptr);
    MEMORY_BASIC_INFORMATION info = {};
    const auto state = [&](DWORD_PTR address) {
        return VirtualQueryEx(process, reinterpret_cast<void*>(address), &info, sizeof info), info.State;
    };
    DWORD_PTR address = 0;
    {
        Distant block(standIn.Pid(), Utils::Memory::ListBlockBytes);
        EXPECT_EQ(block.ProcessId(), standIn.Pid());
        EXPECT_EQ(state(address = block.Start()), static_cast<DWORD>(MEM_COMMIT));
    }
    EXPECT_EQ(state(address), static_cast<DWORD>(MEM_FREE));
    CloseHandle(process);
}

}  // namespace
