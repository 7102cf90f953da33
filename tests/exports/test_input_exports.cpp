// VelmorGetCursorInfo through the real DLL, loaded by name as the terminal
// loads it: what lies under the cursor, written up to the caller's size.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "StandIn.h"
#include "support/BoxWatcher.h"
#include "support/Library.h"
#include "support/TestWindow.h"

using Support::Box;

namespace {

using GetCursorInfoProc = void(WINAPI*)(int32_t*, int32_t);

class CursorInfoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
        ASSERT_TRUE(SetCursorPos(230, 250));
    }

    // Calls the export on an array of 8 guard values; returns the array.
    std::vector<int32_t> Call(int32_t size)
    {
        std::vector<int32_t> array(8, Guard);
        getCursorInfo(array.data(), size);
        return array;
    }

    static constexpr int32_t Guard = 0x7A7A7A7A;
    StandIn::Terminal terminal { StandIn::Scenario::Named("english") };
    Support::Library library;
    GetCursorInfoProc getCursorInfo = library.Get<GetCursorInfoProc>("VelmorGetCursorInfo");
    Support::TestWindow window { 200, 200, 100, 100, RGB(0x12, 0x34, 0x56) };
    Support::BoxWatcher boxes;
};

TEST_F(CursorInfoTest, WritesTheWindowPositionsAndPixelUpToTheSize)
{
    const int32_t handle = static_cast<int32_t>(reinterpret_cast<INT_PTR>(window.Handle()));
    const int32_t G = Guard;
    EXPECT_EQ(Call(1), (std::vector<int32_t> { handle, G, G, G, G, G, G, G }));
    EXPECT_EQ(Call(3), (std::vector<int32_t> { handle, 230, 250, G, G, G, G, G }));
    EXPECT_EQ(Call(6), (std::vector<int32_t> { handle, 230, 250, 30, 50, 0x563412, G, G }));
    EXPECT_EQ(Call(8), (std::vector<int32_t> { handle, 230, 250, 30, 50, 0x563412, G, G }));
    EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(CursorInfoTest, SizeBelowOneShowsOneBoxAndWritesNothing)
{
    const std::vector<int32_t> untouched(8, Guard);
    EXPECT_EQ(Call(0), untouched);
    EXPECT_EQ(Call(-1), untouched);
    const Box box { "VelmorGetCursorInfo()", "Недостаточен размер массива для заполнения данными." };
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { box, box }));
}

TEST_F(CursorInfoTest, NoArrayShowsOneBoxInsteadOfWritingThroughANullPointer)
{
    getCursorInfo(nullptr, 6);
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { { "VelmorGetCursorInfo()", "Не передан массив для заполнения." } }));
}

}  // namespace
