// Blocks of process memory: the range rule at the block's end, fills of every
// width, the typed transfers of control queries, the failure texts, and a
// block in another process released when it goes.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <vector>

#include "Utils/Errors.h"
#include "Utils/Memory.h"
#include "Utils/Types.h"
#include "support/StandInProcess.h"
#include "support/Thrown.h"

using Utils::Memory::Distant;

namespace {

using Support::Thrown;

const std::string RangeHead = "Функция \"Utils::Checking::GetCountDirect()\" обнаружила ошибку в методе "
                              "\"Utils::Memory::Base::CheckSizeMemory()\".";

// The range text of a block operation for a start at or past the end.
std::string PastTheEnd(const char* operation, uint32_t total, uint32_t start, uint32_t count)
{
    return std::string("\nОшибка в методе \"Utils::Memory::Distant::") + operation + "()\".\n\n" + RangeHead
        + "\nНомер стартового элемента больше или равен количеству всех элементов.\nКоличество всех элементов: "
        + std::to_string(total) + "\nСтартовый элемент: " + std::to_string(start)
        + "\nКоличество элементов: " + std::to_string(count) + "\n";
}

std::vector<unsigned char> Bytes(Distant& block, uint32_t offset, uint32_t size)
{
    std::vector<unsigned char> bytes(size);
    block.GeneralRead(offset, bytes.data(), size);
    return bytes;
}

template <class T>
std::vector<unsigned char> Repeated(T value, size_t count)
{
    std::vector<unsigned char> bytes(count * sizeof value);
    for (size_t i = 0; i < count; ++i)
        std::memcpy(bytes.data() + i * sizeof value, &value, sizeof value);
    return bytes;
}

TEST(TypesBytesTest, NarrowestSignedOrUnsignedWidth)
{
    using Utils::Types::Bytes;
    EXPECT_EQ(Bytes(int64_t(0)), 1);
    EXPECT_EQ(Bytes(int64_t(127)), -1);
    EXPECT_EQ(Bytes(int64_t(-128)), -1);
    EXPECT_EQ(Bytes(int64_t(128)), -2);
    EXPECT_EQ(Bytes(int64_t(-129)), -2);
    EXPECT_EQ(Bytes(int64_t(32767)), -2);
    EXPECT_EQ(Bytes(int64_t(-32769)), -4);
    EXPECT_EQ(Bytes(int64_t(2147483647)), -4);
    EXPECT_EQ(Bytes(int64_t(2147483648)), -8);
    EXPECT_EQ(Bytes(INT64_MIN), -8);
    EXPECT_EQ(Bytes(uint64_t(0)), 1);
    EXPECT_EQ(Bytes(uint64_t(255)), 1);
    EXPECT_EQ(Bytes(uint64_t(256)), 2);
    EXPECT_EQ(Bytes(uint64_t(65536)), 4);
    EXPECT_EQ(Bytes(uint64_t(4294967296)), 8);
    EXPECT_EQ(Bytes(UINT64_MAX), 8);
    EXPECT_EQ(Thrown([] { Bytes(1.5); }), "Ошибка в функции \"Utils::Types::Bytes()\".\nНеподходящий тип данных.");
}

TEST(DistantTest, ReadsAndWritesAreCutAtTheEndOfTheBlock)
{
    Distant block(GetCurrentProcessId(), 300);
    EXPECT_TRUE(block.Allocated());
    std::vector<unsigned char> pattern(300);
    for (size_t i = 0; i < pattern.size(); ++i)
        pattern[i] = static_cast<unsigned char>(i * 7);
    EXPECT_TRUE(block.GeneralWrite(0, pattern.data(), 0xFFFFFFFF));
    std::vector<unsigned char> out(500, 0xAA);
    EXPECT_TRUE(block.GeneralRead(40, out.data(), 500));
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + 260, pattern.begin() + 40));
    EXPECT_EQ(out[260], 0xAA);
    DWORD_PTR address = 0;
    EXPECT_TRUE(block.GeneralPointer(299, address, 0xFFFFFFFF));
    EXPECT_EQ(address, block.Start() + 299);

    EXPECT_EQ(Thrown([&] { block.GeneralRead(300, out.data(), 500); }), PastTheEnd("GeneralRead", 300, 300, 500));
    EXPECT_EQ(Thrown([&] { block.GeneralWrite(301, out.data(), 1); }), PastTheEnd("GeneralWrite", 300, 301, 1));
    EXPECT_EQ(Thrown([&] { block.GeneralPointer(300, address, 0xFFFFFFFF); }),
        PastTheEnd("GeneralPointer", 300, 300, 0xFFFFFFFF));
    EXPECT_EQ(Thrown([&] { block.GeneralRead(0, out.data(), 0); }),
        "\nОшибка в методе \"Utils::Memory::Distant::GeneralRead()\".\n" + RangeHead
            + "\nОтсутствует количество элементов.");
}

std::vector<unsigned char> operator+(std::vector<unsigned char> left, const std::vector<unsigned char>& right)
{
    left.insert(left.end(), right.begin(), right.end());
    return left;
}

std::vector<unsigned char> Zeros(size_t count) { return std::vector<unsigned char>(count, 0); }

// Each fill on a fresh block, so that what was not written reads as zero.
std::vector<unsigned char> Filled(uint32_t offset, int64_t value, uint32_t count, uint32_t size = 32)
{
    Distant block(GetCurrentProcessId(), size);
    EXPECT_TRUE(block.GeneralSet(offset, value, count));
    return Bytes(block, 0, size);
}

TEST(DistantTest, FillsWriteCountValuesOfTheWidthTheValueNeeds)
{
    EXPECT_EQ(Filled(0, 5, 0), Zeros(32));
    EXPECT_EQ(Filled(0, 5, 10), Repeated<int8_t>(5, 10) + Zeros(22));
    EXPECT_EQ(Filled(0, 0, 10), Zeros(32));
    EXPECT_EQ(Filled(2, -2, 3), Zeros(2) + Repeated<int8_t>(-2, 3) + Zeros(27));
    EXPECT_EQ(Filled(0, 300, 2), Repeated<int16_t>(300, 2) + Zeros(28));
    EXPECT_EQ(Filled(0, 70000, 3), Repeated<int32_t>(70000, 3) + Zeros(20));
    EXPECT_EQ(Filled(0, int64_t(1) << 40, 2), Repeated<int64_t>(int64_t(1) << 40, 2) + Zeros(16));
}

TEST(DistantTest, FillsAreCutAtTheEndOfTheBlockWithoutCopiesBeyondIt)
{
    // The last 32-bit value is cut to the two bytes left.
    const std::vector<unsigned char> value = Repeated<int32_t>(70000, 1);
    EXPECT_EQ(Filled(26, 70000, 3), Zeros(26) + Repeated<int32_t>(70000, 1) + std::vector<unsigned char>(
                                                                                   value.begin(), value.begin() + 2));
    // Counts whose bytes pass 32 bits fill the rest of the block and no more.
    EXPECT_EQ(Filled(0, 7, 0xFFFFFFFF), Repeated<int8_t>(7, 32));
    EXPECT_EQ(Filled(8, int64_t(1) << 40, 0x80000000), Zeros(8) + Repeated<int64_t>(int64_t(1) << 40, 3));
    Distant block(GetCurrentProcessId(), 300);
    const std::string method = "\nОшибка в методе \"Utils::Memory::Distant::GeneralSet()\".\n";
    EXPECT_EQ(Thrown([&] { block.GeneralSet(300, 5, 1); }), method + PastTheEnd("GeneralSet", 300, 300, 1));
}

TEST(DistantTest, TypedTransfersMoveQueriesAndTheirTexts)
{
    using Utils::Memory::ListItemBytes;
    using Utils::Memory::TreeItemBytes;
    Distant block(GetCurrentProcessId(), Utils::Memory::ListBlockBytes);
    Utils::Base::Write(block, uint32_t(0xDEADBEEF));
    EXPECT_EQ(Bytes(block, 0, 5), Repeated<uint32_t>(0xDEADBEEF, 1) + Zeros(1));

    TVITEMA item = {};
    item.mask = TVIF_TEXT | TVIF_STATE;
    item.state = TVIS_EXPANDED;
    item.cChildren = 1;
    Utils::Base::Write(block, &item, sizeof item);
    const TVITEMA back = Utils::Base::Read<TVITEMA>(block);
    EXPECT_EQ(std::memcmp(&back, &item, sizeof item), 0);

    const char symbol[] = "EURUSD";
    block.GeneralWrite(ListItemBytes, symbol, sizeof symbol);
    EXPECT_EQ(Utils::Base::ReadA(block, 6), "EURUSD");
    EXPECT_EQ(Utils::Base::ReadA(block, 3), "EUR");
    EXPECT_EQ(Utils::Base::ReadA(block, 200), "EURUSD");
    EXPECT_EQ(Utils::Base::ReadA(block, 0), "");

    const char node[] = "Indicators";
    block.GeneralWrite(TreeItemBytes, node, sizeof node);
    std::vector<char> text(270, 'x');
    Utils::Base::ReadA(block, text.data(), 260, 10);
    EXPECT_EQ(std::string(text.data(), 10), "xxxxxxxxxx");
    EXPECT_STREQ(text.data() + 10, "Indicators");
    EXPECT_EQ(text[269], 'x');
    EXPECT_EQ(Thrown([] { Utils::_STRINGBUFA(0).Pointer(); }),
        "Ошибка в методе \"Utils::_STRINGBUFA::Pointer()\".\nБуфер пуст.");
}

TEST(DistantTest, OpenAndAllocFailuresNameTheMethodAndLeaveNothingOpen)
{
    EXPECT_EQ(Thrown([] { Distant block(0xFFFFFFF0, 300); }),
        "\nОшибка в методе \"Utils::Memory::Distant::Open()\".\nНе получен системный дескриптор процесса.\n"
            + LastErrorText(ERROR_INVALID_PARAMETER));
    // A closed handle's value is handed out again by the next open: a handle
    // left open by the failed constructor would take that value away.
    const auto open = [] { return OpenProcess(PROCESS_VM_OPERATION, FALSE, GetCurrentProcessId()); };
    HANDLE first = open();
    CloseHandle(first);
    HANDLE again = open();
    CloseHandle(again);
    ASSERT_EQ(again, first);
    EXPECT_EQ(Thrown([] { Distant block(GetCurrentProcessId(), 0); }),
        "\nОшибка в методе \"Utils::Memory::Distant::Alloc()\".\nНе получен начальный адрес.\n"
            + LastErrorText(ERROR_INVALID_PARAMETER));
    HANDLE after = open();
    CloseHandle(after);
    EXPECT_EQ(after, first);
}

TEST(DistantTest, AFailedFreeIsATextAndTheDestructorStillCloses)
{
    const auto open = [] { return OpenProcess(PROCESS_VM_OPERATION, FALSE, GetCurrentProcessId()); };
    HANDLE handle = nullptr;
    {
        Distant block(GetCurrentProcessId(), 300);
        handle = block.Process();
        EXPECT_TRUE(block.Free());
        // What the system says to a second release of the same block.
        SetLastError(0);
        VirtualFreeEx(block.Process(), reinterpret_cast<void*>(block.Start()), 0, MEM_RELEASE);
        const DWORD code = GetLastError();
        ASSERT_NE(code, 0u);
        EXPECT_EQ(Thrown([&] { block.Free(); }),
            "\nОшибка в методе \"Utils::Memory::Distant::Free()\".\nПамять не освобождена.\n" + LastErrorText(code));
        // The destructor's release fails as well; it closes the handle all the same.
    }
    HANDLE next = open();
    CloseHandle(next);
    EXPECT_EQ(next, handle);
}

// Query the state of an address in a process.
DWORD StateOf(HANDLE process, DWORD_PTR address)
{
    MEMORY_BASIC_INFORMATION info = {};
    VirtualQueryEx(process, reinterpret_cast<void*>(address), &info, sizeof info);
    return info.State;
}

TEST(DistantTest, ABlockInAnotherProcessHoldsTheDataAndGoesWithTheBlock)
{
    Support::StandInProcess standIn("english");
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, standIn.Pid());
    ASSERT_NE(process, nullptr);
    DWORD_PTR address = 0;
    {
        Distant block(standIn.Pid(), Utils::Memory::ListBlockBytes);
        EXPECT_EQ(block.ProcessId(), standIn.Pid());
        address = block.Start();
        EXPECT_TRUE(block.GeneralSet(0, 0x41, 0xFFFFFFFF));
        const char text[] = "GBPUSD";
        block.GeneralWrite(Utils::Memory::ListItemBytes, text, sizeof text);
        char seen[8] = {};
        SIZE_T read = 0;
        ReadProcessMemory(process, reinterpret_cast<void*>(address + Utils::Memory::ListItemBytes), seen,
            sizeof seen, &read);
        EXPECT_STREQ(seen, "GBPUSD");
        EXPECT_EQ(seen[7], 'A');
        EXPECT_EQ(StateOf(process, address), static_cast<DWORD>(MEM_COMMIT));
    }
    EXPECT_EQ(StateOf(process, address), static_cast<DWORD>(MEM_FREE));
    CloseHandle(process);
}

}  // namespace
