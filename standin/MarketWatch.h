#pragma once
// What the Market Watch list carries out besides showing its rows.
#include <windows.h>

namespace StandIn {

class Ui;

// Serves the Market Watch list from now on, on this thread: the command 33160
// (WM_COMMAND to the list) opens a chart for the selected symbol, on top of
// the others and active, at the period of a new chart (H1).
void ServeMarketWatch(Ui& ui, HWND list);

}  // namespace StandIn
