#pragma once
// The terminal's fixed vocabulary: control ids, window class names and the
// localized texts of its panels, toolbars and tabs.
#include "StandIn.h"

namespace StandIn {

constexpr int PanelCount = static_cast<int>(PanelId::Count);
constexpr int ToolbarCount = static_cast<int>(ToolbarId::Count);
constexpr int TerminalTabCount = 7;
constexpr int TesterTabCount = 2;
constexpr int NavigatorNodeCount = 5;

namespace Id {
constexpr UINT ChartArea = 0xE900;  // MDI client in the main window
constexpr UINT ChartView = 0xE900;  // view inside a chart frame
constexpr UINT DockTop = 0xE81B;
constexpr UINT DockLeft = 0xE81C;
constexpr UINT DockBottom = 0xE81E;
constexpr UINT FloatingBar = 0xE81F;  // the bar inside a floating frame
constexpr UINT PanelBarFirst = 0xE820;  // docked panel bars: 0xE820 + panel
constexpr UINT Panel[PanelCount] = { 0x54, 0x50, 0x52, 0x51, 0x53 };
constexpr UINT Toolbar[ToolbarCount] = { 0xE800, 0x106, 0x107, 0x108 };
constexpr UINT DataWindowList = 0x8A73;
constexpr UINT MarketWatchList = 0x8A71;
constexpr UINT NavigatorTree = 0x8A6F;
constexpr UINT TerminalTabs = 0x471;
constexpr UINT TesterTabs = 0x471;
constexpr UINT TerminalListFirst = 0x8A80;  // Terminal lists: 0x8A80 + tab
constexpr UINT FirstMdiChild = 0xFF00;
}  // namespace Id

namespace ClassName {
constexpr const char* Main = "MetaQuotes::MetaTrader::4.00";
constexpr const char* ControlBar = "AfxControlBar42s";
constexpr const char* PanelContent = "AfxWnd42s";
constexpr const char* FloatingFrame = "Afx:400000:8:10011:0:0";
constexpr const char* ChartFrame = "Afx:00400000:b:00010003:00000006:00000000";
constexpr const char* ChartView = "AfxFrameOrView42s";
}  // namespace ClassName

struct Texts {
    const char* panels[PanelCount];
    const char* toolbars[ToolbarCount];
    const char* terminalTabs[TerminalTabCount];
    const char* testerTabs[TesterTabCount];
    const char* navigatorNodes[NavigatorNodeCount];  // Accounts, Indicators, Experts, Custom, Scripts
    const char* symbolColumn;
};

const Texts& TextsOf(Language language);

// "M1" … "MN" for the standard periods, "M<minutes>" otherwise.
std::string PeriodName(int period);
bool IsStandardPeriod(int period);

}  // namespace StandIn
