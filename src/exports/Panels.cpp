// Exports of the terminal's panels and of the dialogs opened from its menus.
#include <windows.h>
#include <cstdint>

#include "MT4/Windows.h"
#include "exports/Arguments.h"
#include "exports/Frame.h"

namespace {

using Terminal = Utils::Pointer<MT4::Windows>;
using MT4::Name;

int32_t IsVisible(Name panel)
{
    return Terminal()->IsVisiblePanel(panel);
}

void Show(Name panel)
{
    Terminal()->ShowPanel(panel);
}

void Hide(Name panel)
{
    Terminal()->HidePanel(panel);
}

} // namespace

extern "C" {

int32_t WINAPI VelmorIsVisibleDataWindow()
{
    return Frame::Call("VelmorIsVisibleDataWindow()", 0, [] { return IsVisible(Name::DataWindow); });
}

int32_t WINAPI VelmorIsVisibleMarketWatch()
{
    return Frame::Call("VelmorIsVisibleMarketWatch()", 0, [] { return IsVisible(Name::MarketWatch); });
}

int32_t WINAPI VelmorIsVisibleNavigator()
{
    return Frame::Call("VelmorIsVisibleNavigator()", 0, [] { return IsVisible(Name::Navigator); });
}

int32_t WINAPI VelmorIsVisibleTerminal()
{
    return Frame::Call("VelmorIsVisibleTerminal()", 0, [] { return IsVisible(Name::Terminal); });
}

int32_t WINAPI VelmorIsVisibleTester()
{
    return Frame::Call("VelmorIsVisibleTester()", 0, [] { return IsVisible(Name::Tester); });
}

void WINAPI VelmorShowDataWindow()
{
    Frame::Run("VelmorShowDataWindow()", [] { Show(Name::DataWindow); });
}

void WINAPI VelmorShowMarketWatch()
{
    Frame::Run("VelmorShowMarketWatch()", [] { Show(Name::MarketWatch); });
}

void WINAPI VelmorShowNavigator()
{
    Frame::Run("VelmorShowNavigator()", [] { Show(Name::Navigator); });
}

void WINAPI VelmorShowTerminal()
{
    Frame::Run("VelmorShowTerminal()", [] { Show(Name::Terminal); });
}

void WINAPI VelmorShowTester()
{
    Frame::Run("VelmorShowTester()", [] { Show(Name::Tester); });
}

void WINAPI VelmorHideDataWindow()
{
    Frame::Run("VelmorHideDataWindow()", [] { Hide(Name::DataWindow); });
}

void WINAPI VelmorHideMarketWatch()
{
    Frame::Run("VelmorHideMarketWatch()", [] { Hide(Name::MarketWatch); });
}

void WINAPI VelmorHideNavigator()
{
    Frame::Run("VelmorHideNavigator()", [] { Hide(Name::Navigator); });
}

void WINAPI VelmorHideTerminal()
{
    Frame::Run("VelmorHideTerminal()", [] { Hide(Name::Terminal); });
}

void WINAPI VelmorHideTester()
{
    Frame::Run("VelmorHideTester()", [] { Hide(Name::Tester); });
}

int32_t WINAPI VelmorOpenOptions(int32_t tab)
{
    return Frame::Call("VelmorOpenOptions()", 0,
        [=] { return AsInteger(Terminal()->OpenOptions(static_cast<WORD>(tab & 0xFFFF))); });
}

int32_t WINAPI VelmorOpenHistoryCenter()
{
    return Frame::Call(
        "VelmorOpenHistoryCenter()", 0, [] { return AsInteger(Terminal()->OpenHistoryCenter()); });
}

int32_t WINAPI VelmorOpenGlobalVariables()
{
    return Frame::Call(
        "VelmorOpenGlobalVariables()", 0, [] { return AsInteger(Terminal()->OpenGlobalVariables()); });
}

} // extern "C"
