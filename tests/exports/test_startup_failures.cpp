// Start-up that cannot find a terminal it can serve reports it in one box
// captioned with the library's name, after the waits the terminal's start
// may need; a program's first call starts the library by itself.
#include <gtest/gtest.h>

#include "StandIn.h"
#include "Utils/Errors.h"
#include "support/BoxWatcher.h"
#include "support/Library.h"

using Support::Box;

namespace {

TEST(StartUpFailureTest, TerminalInNeitherLanguageIsRejectedAfterTenPasses)
{
    StandIn::Terminal terminal(StandIn::Scenario::Named("none"));
    Support::BoxWatcher boxes;
    Support::Library library;
    const ULONGLONG start = GetTickCount64();
    library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
    EXPECT_GE(GetTickCount64() - start, 20000u);  // ten passes with five pauses of 500 ms
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { { "RazozazER4.dll",
            "Ошибка в функции \"Init()\".\n\n"
            "Метод \"MT4::Windows::InitLocalization()\".\n\nНепредусмотренная локализация.\n"
            "Библиотека работает только с русской и английской локализациями.\n\n"
            "Если библиотека \"RazozazER4.dll\" запущена с новым билдом МТ4, то возможно, в нём изменены классы "
            "окон.\n"
            "Обратитесь к разработчику библиотеки за обновлённой версией." } }));
}

// A fresh process: no VelmorInit before the first call.
TEST(StartUpFailureTest, FirstCallStartsTheLibraryForTheTerminalOfThisProcess)
{
    StandIn::Terminal terminal(StandIn::Scenario::Named("english"));
    Support::BoxWatcher boxes;
    Support::Library library;
    EXPECT_EQ(library.Get<Support::IntFn>("VelmorGetNumberTools")(), 5);
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});
}

TEST(StartUpFailureTest, ProcessWithoutTerminalWindowGivesUpAfterAboutSixtySeconds)
{
    Support::BoxWatcher boxes;
    Support::Library library;
    const ULONGLONG start = GetTickCount64();
    library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
    EXPECT_GE(GetTickCount64() - start, 55000u);
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { { "RazozazER4.dll",
            "Ошибка в функции \"Init()\".\n\n"
            "Ошибка в методе \"MT4::Windows::HandleMetaTrader()\".\nНе получен системный дескриптор окна МТ4." } }));
}

TEST(StartUpFailureTest, ProcessThatDoesNotExistGivesUpAfterTheSnapshotBound)
{
    Support::BoxWatcher boxes;
    Support::Library library;
    const DWORD noProcess = 0x7FFFFFF0;
    const ULONGLONG start = GetTickCount64();
    library.Get<Support::VoidOfIntFn>("VelmorInit")(static_cast<int32_t>(noProcess));
    const ULONGLONG took = GetTickCount64() - start;
    EXPECT_GE(took, 9000u);
    EXPECT_LT(took, 30000u);
    const std::vector<Box> shown = boxes.Take();
    ASSERT_EQ(shown.size(), 1u);
    const std::string head = "Ошибка в функции \"Init()\".\n\nОшибка в методе \"MT4::Windows::ExecutablePath()\".\n"
                             "Не получен список модулей процесса 2147483632.";
    ASSERT_EQ(shown[0].text.substr(0, head.size()), head);
    const DWORD code = std::stoul(shown[0].text.substr(head.size() + std::string("\nLast Error ").size()));
    EXPECT_EQ(shown[0], (Box { "RazozazER4.dll", head + LastErrorText(code) }));
}

}  // namespace
