// Start-up that cannot find a terminal it can serve reports it in one box
// captioned with the library's name, after the waits the terminal's start
// may need.
#include <gtest/gtest.h>

#include "StandIn.h"
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

}  // namespace
