// Start-up that finds no terminal it can serve reports it in one box captioned with the library's
// name, after the waits a terminal's start may need; a program's first call starts the library.
#include <gtest/gtest.h>

#include "StandIn.h"
#include "Utils/Errors.h"
#include "support/BoxWatcher.h"
#include "support/Library.h"

using Support::Box;

namespace {

const std::string InInit = "Ошибка в функции \"Init()\".\n\n";

// How long VelmorInit(process) took, and the boxes it showed.
std::pair<ULONGLONG, std::vector<Box>> Init(DWORD process)
{
    Support::BoxWatcher boxes;
    Support::Library library;
    const ULONGLONG start = GetTickCount64();
    library.Get<Support::VoidOfIntFn>("VelmorInit")(static_cast<int32_t>(process));
    return { GetTickCount64() - start, boxes.Take() };
}

TEST(StartUpFailureTest, TerminalInNeitherLanguageIsRejectedAfterTenPasses)
{
    StandIn::Terminal terminal(StandIn::Scenario::Named("none"));
    const auto [took, boxes] = Init(0);
    EXPECT_GE(took, 20000u);  // ten passes with five pauses of 500 ms
    EXPECT_EQ(boxes, (std::vector<Box> { { "RazozazER4.dll",
                         InInit + "Метод \"MT4::Windows::InitLocalization()\".\n\nНепредусмотренная локализация.\n"
                             "Библиотека работает только с русской и английской локализациями.\n\n"
                             "Если библиотека \"RazozazER4.dll\" запущена с новым билдом МТ4, то возможно, в нём "
                             "изменены классы окон.\nОбратитесь к разработчику библиотеки за обновлённой версией." } }));
}

TEST(StartUpFailureTest, FirstCallStartsTheLibraryForTheTerminalOfThisProcess)  // no VelmorInit before it
{
    StandIn::Terminal terminal(StandIn::Scenario::Named("english"));
    Support::BoxWatcher boxes;
    EXPECT_EQ(Support::Library().Get<Support::IntFn>("VelmorGetNumberTools")(), 5);
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});
}

TEST(StartUpFailureTest, ProcessWithoutTerminalWindowGivesUpAfterAboutSixtySeconds)
{
    const auto [took, boxes] = Init(0);
    EXPECT_GE(took, 55000u);
    EXPECT_EQ(boxes, (std::vector<Box> { { "RazozazER4.dll", InInit + "Ошибка в методе \"MT4::Windows::HandleMeta"
                                                                     "Trader()\".\nНе получен системный дескриптор окна МТ4." } }));
}

TEST(StartUpFailureTest, ProcessThatDoesNotExistGivesUpAfterTheSnapshotBound)
{
    const auto [took, boxes] = Init(0x7FFFFFF0);
    EXPECT_GE(took, 9000u);
    EXPECT_LT(took, 30000u);
    const std::string head = InInit + "Ошибка в методе \"MT4::Windows::ExecutablePath()\".\n"
                                      "Не получен список модулей процесса 2147483632.\nLast Error ";
    ASSERT_EQ(boxes.size(), 1u);
    ASSERT_EQ(boxes[0].text.substr(0, head.size()), head);
    const DWORD code = std::stoul(boxes[0].text.substr(head.size()));  // whichever the snapshot gave
    EXPECT_EQ(boxes[0], (Box { "RazozazER4.dll", head.substr(0, head.size() - 12) + LastErrorText(code) }));
}

}  // namespace
