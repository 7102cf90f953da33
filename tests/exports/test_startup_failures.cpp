// Start-up that finds no terminal it can serve: one box, after the waits a start may need; a first call starts it.
#include <gtest/gtest.h>
#include "StandIn.h"
#include "Utils/Errors.h"
#include "support/BoxWatcher.h"
#include "support/Library.h"

using Boxes = std::vector<Support::Box>;
namespace {
std::pair<ULONGLONG, Boxes> Init(DWORD process)  // how long VelmorInit(process) took, and its boxes
{
    Support::BoxWatcher boxes;
    Support::Library library;
    const ULONGLONG start = GetTickCount64();
    library.Get<Support::VoidOfIntFn>("VelmorInit")(static_cast<int32_t>(process));
    return { GetTickCount64() - start, boxes.Take() };
}

Boxes InitBox(const std::string& text) { return { { "RazozazER4.dll", "Ошибка в функции \"Init()\".\n\n" + text } }; }

TEST(StartUpFailureTest, TerminalInNeitherLanguageIsRejectedAfterTenPasses)
{
    StandIn::Terminal terminal(StandIn::Scenario::Named("none"));
    const auto [took, boxes] = Init(0);
    EXPECT_GE(took, 20000u);
    EXPECT_EQ(boxes, InitBox("Метод \"MT4::Windows::InitLocalization()\".\n\nНепредусмотренная локализация.\n"
                             "Библиотека работает только с русской и английской локализациями.\n\n"
                             "Если библиотека \"RazozazER4.dll\" запущена с новым билдом МТ4, то возможно, в нём "
                             "изменены классы окон.\nОбратитесь к разработчику библиотеки за обновлённой версией."));
}

TEST(StartUpFailureTest, FirstCallStartsTheLibraryForTheTerminalOfThisProcess)  // no VelmorInit before it
{
    StandIn::Terminal terminal(StandIn::Scenario::Named("english"));
    Support::BoxWatcher boxes;
    EXPECT_EQ(Support::Library().Get<Support::IntFn>("VelmorGetNumberTools")(), 5);
    EXPECT_EQ(boxes.Take(), Boxes {});
}

TEST(StartUpFailureTest, ProcessWithoutTerminalWindowGivesUpAfterAboutSixtySeconds)
{
    const auto [took, boxes] = Init(0);
    EXPECT_GE(took, 55000u);
    EXPECT_EQ(boxes, InitBox("Ошибка в методе \"MT4::Windows::HandleMetaTrader()\".\n"
                             "Не получен системный дескриптор окна МТ4."));
}

TEST(StartUpFailureTest, ProcessThatDoesNotExistGivesUpAfterTheSnapshotBound)
{
    const auto [took, boxes] = Init(0x7FFFFFF0);
    EXPECT_TRUE(took >= 9000u && took < 30000u) << took;
    ASSERT_EQ(boxes.size(), 1u);
    const size_t at = boxes[0].text.rfind("Last Error ");  // whichever code the snapshot gave
    EXPECT_EQ(boxes, InitBox("Ошибка в методе \"MT4::Windows::ExecutablePath()\".\nНе получен список модулей процесса "
                             "2147483632." + LastErrorText(at == std::string::npos ? 0 : atoi(&boxes[0].text[at + 11]))));
}

}  // namespace
