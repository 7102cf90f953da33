// VelmorGetCursorInfo: what lies under the cursor, written up to the caller's size and never through a missing array.
#include <gtest/gtest.h>
#include <algorithm>
#include "support/TerminalTest.h"
#include "support/TestWindow.h"

namespace {

using CursorInfoTest = Support::TerminalTest;

TEST_F(CursorInfoTest, WritesWhatLiesUnderTheCursorUpToTheSizeAndRefusesNoRoom)
{
    Support::TestWindow window { 200, 200, 100, 100, RGB(0x12, 0x34, 0x56) };
    ASSERT_TRUE(SetCursorPos(230, 250));
    auto info = library.Get<void(WINAPI*)(int32_t*, int32_t)>("VelmorGetCursorInfo");
    const int32_t all[] = { static_cast<int32_t>(reinterpret_cast<INT_PTR>(window.Handle())), 230, 250, 30, 50, 0x563412 };
    for (int32_t size : { 1, 3, 6, 8, 0, -1 }) {
        std::vector<int32_t> array(8, 0x7A7A7A7A), expected = array;
        std::copy(all, all + std::clamp(size, 0, 6), expected.begin());
        info(array.data(), size);
        EXPECT_EQ(array, expected) << "size " << size;
    }
    info(nullptr, 6);
    const Support::Box small { "VelmorGetCursorInfo()", "Недостаточен размер массива для заполнения данными." };
    EXPECT_EQ(boxes.Take(),
        (std::vector<Support::Box> { small, small, { "VelmorGetCursorInfo()", "Не передан массив для заполнения." } }));
}

}  // namespace
