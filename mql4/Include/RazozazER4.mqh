// RazozazER4.dll for MetaTrader 4 terminals of build 600 and later (Unicode texts).
// File > Open Data Folder: copy RazozazER4.dll into MQL4\Libraries and this file into
// MQL4\Include. Terminals before build 600 take RazozazER4Ansi.mqh instead.
// Every function that takes or returns text is imported as its wide twin (name + W)
// and called under its plain name through the wrappers after the import block, so a
// program reads the same with either header.
// The library serves the 32-bit MetaTrader 4 terminal only. Allow DLL imports for
// the program and write #include <RazozazER4.mqh>.
//
// A failure shows one message box captioned with the function's name and the
// function returns its neutral result, written after each function below: 0, -1,
// "", NULL (the two path functions: test the result before using it) or nothing.
// Returned texts belong to the library and stay valid until the calling thread's
// next text call. An array goes with its size (or count): size must not exceed the
// array's elements, and a text the library writes into must already have the
// room its line asks for; the library writes no further.
// Indicators run on the terminal's interface thread: a function marked
// [not from an indicator] waits for a dialog that thread opens, so called from an
// indicator it is refused at once with a box; call it from an expert or a script.
// The reference of every function: docs/exports.md of the library's sources.

#import "RazozazER4.dll"

// --- Start-up: Attach to a terminal; every export does this for the terminal of its own process on first use.
void VelmorInit(int pid);  // Discovers the terminal of process pid (0: this process) into a new model: its executable, main window, chart area, language, panels, lists, toolbars, and the eight named mutexes; then puts the model in place whole (a call under way keeps the model it started with). A quotes-loader run and the refresh engine's worker in progress are stopped first and go on with the new model.

// --- Terminal paths: The terminal's directories.
string VelmorGetPathDirectoryMT4W();  // the terminal's directory with its final backslash. Failure: NULL.
string VelmorGetPathServerW();        // the directory of the trade server's history files, in the install folder or else in the terminal's data folder. Failure: NULL.

// --- Main window: The terminal's main window: handle, process, show state, title, keys, language.
int VelmorHandleMT4();                                // the main window handle. Failure: 0.
int VelmorGetProcessId();                             // the process id served. Failure: 0.
int VelmorMetaTraderClose();                          // non-zero when posted. Failure: 0.
void VelmorMetaTraderTitle(int show);                 // Removes (0) or restores (other) the main window's caption bar.
int VelmorMetaTraderHide();                           // non-zero when the window was visible. Failure: 0.
void VelmorMetaTraderHotKeys(int key, int modifier);  // Restores the main window, then presses modifier+key as real keyboard input (goes to the focused window).
void VelmorMetaTraderKeyDown(int key);                // Posts WM_KEYDOWN (key & 0xFF, repeat 1) to the main window; no key-up.
int VelmorMetaTraderMaximize();                       // non-zero when the window was visible. Failure: 0.
int VelmorMetaTraderMinimize();                       // non-zero when the window was visible. Failure: 0.
int VelmorMetaTraderRestore();                        // non-zero when the window was visible. Failure: 0.
int VelmorMetaTraderShow();                           // non-zero when the window was visible. Failure: 0.
int VelmorGetLocalization();                          // 32025 Russian, 32000 English. Failure: 0.

// --- Panels and dialogs: Show, hide and query the five panels; open Options, History Center, Global Variables.
void VelmorHideDataWindow();       // Sends the View-menu toggle (33302) to the main window when the panel is visible.
void VelmorHideMarketWatch();      // Sends the toggle 33309 when the panel is visible.
void VelmorHideNavigator();        // Sends the toggle 33310 when the panel is visible.
void VelmorHideTerminal();         // Sends the toggle 33314 when the panel is visible.
void VelmorHideTester();           // Sends the toggle 33315 when the panel is visible.
int VelmorIsVisibleDataWindow();   // 1 visible, 0 hidden. Failure: 0.
int VelmorIsVisibleMarketWatch();  // 1 visible, 0 hidden. Failure: 0.
int VelmorIsVisibleNavigator();    // 1 visible, 0 hidden. Failure: 0.
int VelmorIsVisibleTerminal();     // 1 visible, 0 hidden. Failure: 0.
int VelmorIsVisibleTester();       // 1 visible, 0 hidden. Failure: 0.
void VelmorShowDataWindow();       // Sends the toggle 33302 when the panel is hidden.
void VelmorShowMarketWatch();      // Sends the toggle 33309 when the panel is hidden.
void VelmorShowNavigator();        // Sends the toggle 33310 when the panel is hidden.
void VelmorShowTerminal();         // Sends the toggle 33314 when the panel is hidden.
void VelmorShowTester();           // Sends the toggle 33315 when the panel is hidden.
int VelmorOpenGlobalVariables();   // the dialog's handle. Failure: 0. [not from an indicator]
int VelmorOpenHistoryCenter();     // the dialog's handle. Failure: 0. [not from an indicator]
int VelmorOpenOptions(int tab);    // the dialog's handle. Failure: 0. [not from an indicator]

// --- Terminal tabs: Select a tab of the Terminal panel.
void VelmorSetTerminalTabByNumber(int tab);     // Clicks the tab strip (item 0x471) in the middle of the tab, as the strip gives it (TCM_GETITEMRECT, read across processes when needed); a strip that does not tell: at the fixed position (x 32, 96, 192, 240, 304, 400, 464; y 0); tab 0 to 6 (low 16 bits).
void VelmorSetTerminalTabByNameW(string name);  // As by number, the tab found by its exact caption in the terminal's language; any other name selects tab 0.

// --- Login and servers: Log in, read the server name, rescan servers.
string VelmorGetNameServerW();                                                     // the server field's text. Failure: "". [not from an indicator]
void VelmorLoginW(int account, string password, string server, int savePassword);  // Posts the login command, waits for the dialog, fills account, password (the dialog's edit with the password style; the library keeps no copy) and server when account > 0 (an empty password or server leaves its field), sets the save box, presses Login. [not from an indicator]
int VelmorRescanServers();                                                         // non-zero when posted. Failure: 0.

// --- Account number: Mask the account number in the title bar.
void VelmorSetAccountNumber(int number);  // Subclasses the main window (first call) so that every title the terminal sets shows number in place of the account; later calls change the number; the masking outlives a later VelmorInit.

// --- Charts: Enumerate, test, activate and close charts.
void VelmorCloseAllCharts();                              // Posts the close command (57602) to every chart.
int VelmorCloseChart(int chart);                          // non-zero when posted. Failure: 0.
int VelmorGetAllHandlesCharts(int& handles[], int size);  // the first chart's handle, 0 when there is none. Needs: handles[] has at least size elements. Failure: 0.
int VelmorIsChart(int chart);                             // 1 chart, 0 not. Failure: 0.
int VelmorIsChartActive(int chart);                       // 1 active, 0 not. Failure: 0.
int VelmorNumberCharts();                                 // the number of charts. Failure: 0.
void VelmorSetActiveChart(int chart);                     // Activates the chart's frame in the chart area.

// --- Chart settings: Read and change a chart's display settings through its Properties dialog or its toggle commands.
int VelmorAutoScroll(int chart);                                                      // non-zero when posted. Failure: 0.
int VelmorShift(int chart);                                                           // non-zero when posted. Failure: 0.
int VelmorShowGrid(int chart);                                                        // non-zero when posted. Failure: 0.
int VelmorShowVolume(int chart);                                                      // non-zero when posted. Failure: 0.
int VelmorGetAutoScroll(int chart);                                                   // 1 on, 0 off. Failure: 0. [not from an indicator]
int VelmorGetScaleFix(int chart);                                                     // 1 on, 0 off. Failure: 0. [not from an indicator]
int VelmorGetScaleFix1To1(int chart);                                                 // 1 on, 0 off. Failure: 0. [not from an indicator]
int VelmorGetForeground(int chart);                                                   // 1 on, 0 off. Failure: 0. [not from an indicator]
int VelmorGetOffline(int chart);                                                      // 1 on, 0 off. Failure: 0. [not from an indicator]
int VelmorGetShift(int chart);                                                        // 1 on, 0 off. Failure: 0. [not from an indicator]
int VelmorGetShowAsk(int chart);                                                      // 1 on, 0 off. Failure: 0. [not from an indicator]
int VelmorGetShowGrid(int chart);                                                     // 1 on, 0 off. Failure: 0. [not from an indicator]
int VelmorGetShowObjectDescript(int chart);                                           // 1 on, 0 off. Failure: 0. [not from an indicator]
int VelmorGetShowOHLC(int chart);                                                     // 1 on, 0 off. Failure: 0. [not from an indicator]
int VelmorGetShowPeriodSeparators(int chart);                                         // 1 on, 0 off. Failure: 0. [not from an indicator]
int VelmorGetShowVolume(int chart);                                                   // 1 on, 0 off. Failure: 0. [not from an indicator]
int VelmorGetViewChart(int chart);                                                    // 0 bars, 1 candles, 2 line. Failure: -1. [not from an indicator]
int VelmorSetAutoScroll(int chart, int on);                                           // the state read back, 1 or 0. Failure: 0. [not from an indicator]
int VelmorSetOffline(int chart, int on);                                              // the state read back, 1 or 0. Failure: 0. [not from an indicator]
void VelmorSetScale(int chart, double first, double second);                          // Opens Properties, turns fixed scale on, writes both limits with six decimals, presses OK. [not from an indicator]
int VelmorSetScaleFix(int chart, int on);                                             // the state read back, 1 or 0. Failure: 0. [not from an indicator]
int VelmorSetScaleFix1To1(int chart, int on);                                         // the state read back, 1 or 0. Failure: 0. [not from an indicator]
int VelmorSetForeground(int chart, int on);                                           // the state read back, 1 or 0. Failure: 0. [not from an indicator]
int VelmorSetShift(int chart, int on);                                                // the state read back, 1 or 0. Failure: 0. [not from an indicator]
int VelmorSetShowAsk(int chart, int on);                                              // the state read back, 1 or 0. Failure: 0. [not from an indicator]
int VelmorSetShowGrid(int chart, int on);                                             // the state read back, 1 or 0. Failure: 0. [not from an indicator]
int VelmorSetShowObjectDescript(int chart, int on);                                   // the state read back, 1 or 0. Failure: 0. [not from an indicator]
int VelmorSetShowOHLC(int chart, int on);                                             // the state read back, 1 or 0. Failure: 0. [not from an indicator]
int VelmorSetShowPeriodSeparators(int chart, int on);                                 // the state read back, 1 or 0. Failure: 0. [not from an indicator]
int VelmorSetShowVolume(int chart, int on);                                           // the state read back, 1 or 0. Failure: 0. [not from an indicator]
int VelmorSetViewChart(int chart, int type);                                          // non-zero when posted. Failure: 0.
int VelmorOpenPropertiesChart(int chart, int page);                                   // the Properties dialog's handle, left open. Failure: 0. [not from an indicator]
void VelmorPropertiesChartCheckBox(int chart, int write, int& entries[], int count);  // Opens Properties; for each entry (id, state, spare) clicks the box when writing and stores its state; presses OK. Needs: entries[] holds three ints per entry (id, state, spare): at least 3 * count elements. [not from an indicator]

// --- Timeframes and templates: Change a chart's timeframe or template.
void VelmorSetTemplateByNameW(int chart, string name);    // Posts 35511 to the chart's frame, waits for the Open dialog, types the name, presses Open. [not from an indicator]
int VelmorSetTemplateByNumber(int chart, int number);     // non-zero when posted. Failure: 0.
void VelmorSetTimeframeByNameW(int chart, string name);   // Posts the timeframe's command (M1 ... MN, exact name) to the chart.
void VelmorSetTimeframeByNumber(int chart, int index);    // Posts the command of timeframe 0 (M1) to 8 (MN) to the chart.
void VelmorSetTimeframeByPeriod(int chart, int minutes);  // Posts the command of the timeframe of that many minutes to the chart.

// --- Chart navigation and keys: Zoom, step, scroll to a time, send keys to a chart.
void VelmorChartHotKeys(int chart, int key, int modifier);  // Presses modifier+key as real keyboard input (activate the chart first).
int VelmorChartKeyDown(int chart, int key);                 // 1 posted, 0 not. Failure: 0.
int VelmorChartKeyUp(int chart, int key);                   // 1 posted, 0 not. Failure: 0.
int VelmorDeselectObjects(int chart);                       // non-zero when posted. Failure: 0.
void VelmorSetBar(int chart, int time);                     // Sends the internal message (55, time) to the chart: it scrolls to the bar of that time.
void VelmorStepByStep(int chart);                           // Sends 33197 (one bar forward) to the chart.
int VelmorZoom(int chart, int in);                          // non-zero when posted. Failure: 0.

// --- Chart command line: Open, write, read and carry out a chart's command line.
void VelmorSetToolChartNamePeriodW(int chart, string symbol, string timeframe);  // Opens the command line, writes "symbol,period" (timeframe by name), presses Enter.
void VelmorSetToolChartNumberPeriodW(int chart, string symbol, int index);       // As above, timeframe by index 0 to 8.
void VelmorSetToolChartPeriodW(int chart, string symbol, int minutes);           // As above, timeframe in minutes (unknown minutes: 0).
void VelmorCloseCmd(int chart);                                                  // Presses Enter in a visible command line: the terminal carries out its text.
void VelmorClearCmd(int chart);                                                  // Empties the command line's text.
int VelmorCreatCmd(int chart);                                                   // the command line's handle. Failure: 0.
int VelmorIsCmd(int chart);                                                      // 1 exists, 0 not. Failure: 0.
int VelmorIsVisibleCmd(int chart);                                               // 1 visible, 0 not. Failure: 0.
int VelmorOpenCmd(int chart);                                                    // the command line's handle. Failure: 0.
string VelmorReadCmdW(int chart);                                                // the command line's text. Failure: "".
void VelmorWriteCmdW(int chart, string text);                                    // Sets the edit's text and reads it back; does not carry it out.

// --- Offline and deleted charts: Open an offline chart or reopen a deleted one.
int VelmorOpenDeletetChart(int n);                          // the new chart's handle. Failure: 0.
int VelmorOpenOfflineChartW(string symbol, string period);  // the new chart's handle, 0 when no row matches. Failure: 0. [not from an indicator]

// --- Refresh engine: Refresh charts from a worker thread, periodically or once.
void VelmorRefreshAllCharts(int interval);         // Mode 2: every open chart refreshed every interval ms (at least 100; 250 counts as 200). Per chart the worker sends 33324 (WM_COMMAND), then the internal message (2, 1), each from a send thread; after each pass charts opened since join and stopped ones come back.
void VelmorRefreshAllOnceCharts();                 // Mode 3: one pass that ticks every open chart (33324, then the internal message (2, 1)) in handle order; the worker then ends and the table stays.
void VelmorRefreshChart(int chart, int interval);  // Mode 1: this chart refreshed every interval ms (at least 100; a negative value is a very long interval) with 33324 and the internal message (2, 1); a second call replaces the interval; a handle that is no chart is dropped by the worker.
void VelmorStopRefreshChart(int chart);            // Queues the chart; the worker drops it at its next pass (mode 2 takes it back after that pass).
void VelmorStopRefreshAllCharts(int wait);         // Clears the engine and tells the worker to end (it is never stopped inside a send); with wait non-zero returns once it has ended.

// --- Loading programs: Attach experts, indicators and scripts to a chart by name.
int VelmorLoadCustomIndicatorW(int chart, string name, int confirm);  // 1 delivered, 0 not. Failure: 0. [not from an indicator]
int VelmorLoadExpertW(int chart, string name, int confirm);           // 1 delivered, 0 not. Failure: 0. [not from an indicator]
int VelmorLoadScriptW(int chart, string name, int confirm);           // 1 delivered, 0 not. Failure: 0. [not from an indicator]
int VelmorLoadStdIndicatorW(int chart, string name, int confirm);     // 1 delivered, 0 not. Failure: 0. [not from an indicator]

// --- Removing and listing programs: Remove experts, scripts and indicators; list indicators; answer the terminal's questions.
int VelmorDeleteExpert(int chart);                                                      // non-zero when posted. Failure: 0.
void VelmorDeleteIndicatorsByNameW(int chart, int window, string& names[], int count);  // Queues the removal; a worker opens the indicator list and deletes every indicator of the window whose name is listed. Needs: names[] has at least count elements.
int VelmorDeleteScript(int chart);                                                      // 1 when both posts succeeded. Failure: 0.
int VelmorDialogScript(int yes);                                                        // the question window's handle, 0 when none. Failure: 0.
int VelmorGetNamesIndicatorsW(int chart, int window, string& names[], int size);        // the number of indicators found. Needs: names[] has at least size elements; each element holds as many characters as its room (StringInit(names[i], 64, ' ')), a longer name is cut. Failure: 0. [not from an indicator]
int VelmorListIndicators(int chart);                                                    // the indicator list dialog's handle, left open. Failure: 0. [not from an indicator]
void VelmorSetExperts();                                                                // Sends 33020 (experts on/off) to the main window.
int VelmorPropertiesExpert(int chart);                                                  // non-zero when posted. Failure: 0.

// --- Ticking programs: Make a chart's programs run once.
void VelmorTickExpert(int chart);      // Sends the internal message (2, 1) to the chart from a send thread and waits until the chart has handled it: the expert's start() runs. Called on the terminal's own thread, it handles the send while waiting.
void VelmorTickIndicators(int chart);  // Sends 33324 (WM_COMMAND) to the chart from a send thread and waits until the chart has handled it: the indicators recalculate.

// --- Market Watch: Read the symbol list and open charts by symbol.
int VelmorGetAllSymbolsW(string& symbols[], int size);            // the number of symbols. Needs: symbols[] has at least size elements; each element holds as many characters as its room (StringInit(symbols[i], 32, ' ')), a longer symbol is cut. Failure: -1.
int VelmorGetNumberTools();                                       // the number of rows. Failure: -1.
int VelmorLineBySymbolW(string symbol);                           // the first row beginning with symbol, -1 when none. Failure: -1.
int VelmorOpenChartByNameW(string symbol, string timeframe);      // the new chart's handle. Failure: 0.
int VelmorOpenChartByNumberW(int row, string& buffer, int size);  // the new chart's handle. Needs: buffer has room for size wide characters, the terminating zero included (size - 1 characters of the symbol; a longer symbol is cut): StringInit(buffer, size, ' ') before the call. Failure: 0.
string VelmorSymbolByLineW(int row);                              // the row's symbol. Failure: "".

// --- Mailbox: Read the mailbox list of the Terminal panel; open, close and delete messages.
int VelmorMailboxCloseByHandle(int window);                                               // non-zero when posted. Failure: 0.
int VelmorMailboxCloseByNameW(string name);                                               // 1 when every close was posted. Failure: 0.
int VelmorMailboxDelete(int line);                                                        // 1 when the key was handled. Failure: 0.
string VelmorMailboxGetFromW(int line);                                                   // the sender. Failure: "".
int VelmorMailboxGetLineW(string time, string from, string theme, int start, int count);  // the first matching line, -1 when none. Failure: -1.
string VelmorMailboxGetStringTimeW(int line);                                             // the time as shown, e.g. 2012.03.05 14:07. Failure: "".
int VelmorMailboxGetTime(int line);                                                       // the time in seconds since 1970. Failure: 0.
string VelmorMailboxGetThemeW(int line);                                                  // the subject. Failure: "".
int VelmorMailboxOpen(int line);                                                          // the message window's handle, 0 when not found. Failure: 0.
int VelmorMailboxSize();                                                                  // the number of messages. Failure: 0.

// --- Message bodies: Read the text of an opened message.
string VelmorMailboxReadTextW(int window);  // the message's plain text. Failure: "".
string VelmorMailboxReadHTMLW(int window);  // the message's HTML. Failure: "".

// --- Quotes loader: Walk every Market Watch symbol and timeframe with a script of yours.
int VelmorLoaderQuotesW(int command, int bySymbols, int& timeframes[], string script);  // 0 started, 1 a run was in progress (command stored), 2 a command other than 1 and no run in progress (nothing starts). Needs: timeframes[] holds 9 ints, one flag per timeframe from M1 to MN1. Failure: -1.
void VelmorSensorLoadQuotes(int chart);                                                 // Called by the loader's script on its chart: signals the step event "MT4::Windows::LoaderQuotes_" + chart, the loader goes on. No loader waiting on the chart: error box.

// --- Input: Cursor information.
void VelmorGetCursorInfo(int& info[], int size);  // Fills info[]: window under the cursor, screen x, y, client x, y, pixel colour. Needs: info[] has six ints for the six values (window, screen x, y, client x, y, colour); size must not exceed its elements; the first size values (at most six) are filled.

#import

// --- The text functions under their plain names.
string VelmorGetPathDirectoryMT4() { return VelmorGetPathDirectoryMT4W(); }
string VelmorGetPathServer() { return VelmorGetPathServerW(); }
void VelmorSetTerminalTabByName(string name) { VelmorSetTerminalTabByNameW(name); }
string VelmorGetNameServer() { return VelmorGetNameServerW(); }
void VelmorLogin(int account, string password, string server, int savePassword) { VelmorLoginW(account, password, server, savePassword); }
void VelmorSetTemplateByName(int chart, string name) { VelmorSetTemplateByNameW(chart, name); }
void VelmorSetTimeframeByName(int chart, string name) { VelmorSetTimeframeByNameW(chart, name); }
void VelmorSetToolChartNamePeriod(int chart, string symbol, string timeframe) { VelmorSetToolChartNamePeriodW(chart, symbol, timeframe); }
void VelmorSetToolChartNumberPeriod(int chart, string symbol, int index) { VelmorSetToolChartNumberPeriodW(chart, symbol, index); }
void VelmorSetToolChartPeriod(int chart, string symbol, int minutes) { VelmorSetToolChartPeriodW(chart, symbol, minutes); }
string VelmorReadCmd(int chart) { return VelmorReadCmdW(chart); }
void VelmorWriteCmd(int chart, string text) { VelmorWriteCmdW(chart, text); }
int VelmorOpenOfflineChart(string symbol, string period) { return VelmorOpenOfflineChartW(symbol, period); }
int VelmorLoadCustomIndicator(int chart, string name, int confirm) { return VelmorLoadCustomIndicatorW(chart, name, confirm); }
int VelmorLoadExpert(int chart, string name, int confirm) { return VelmorLoadExpertW(chart, name, confirm); }
int VelmorLoadScript(int chart, string name, int confirm) { return VelmorLoadScriptW(chart, name, confirm); }
int VelmorLoadStdIndicator(int chart, string name, int confirm) { return VelmorLoadStdIndicatorW(chart, name, confirm); }
void VelmorDeleteIndicatorsByName(int chart, int window, string& names[], int count) { VelmorDeleteIndicatorsByNameW(chart, window, names, count); }
int VelmorGetNamesIndicators(int chart, int window, string& names[], int size) { return VelmorGetNamesIndicatorsW(chart, window, names, size); }
int VelmorGetAllSymbols(string& symbols[], int size) { return VelmorGetAllSymbolsW(symbols, size); }
int VelmorLineBySymbol(string symbol) { return VelmorLineBySymbolW(symbol); }
int VelmorOpenChartByName(string symbol, string timeframe) { return VelmorOpenChartByNameW(symbol, timeframe); }
int VelmorOpenChartByNumber(int row, string& buffer, int size) { return VelmorOpenChartByNumberW(row, buffer, size); }
string VelmorSymbolByLine(int row) { return VelmorSymbolByLineW(row); }
int VelmorMailboxCloseByName(string name) { return VelmorMailboxCloseByNameW(name); }
string VelmorMailboxGetFrom(int line) { return VelmorMailboxGetFromW(line); }
int VelmorMailboxGetLine(string time, string from, string theme, int start, int count) { return VelmorMailboxGetLineW(time, from, theme, start, count); }
string VelmorMailboxGetStringTime(int line) { return VelmorMailboxGetStringTimeW(line); }
string VelmorMailboxGetTheme(int line) { return VelmorMailboxGetThemeW(line); }
string VelmorMailboxReadText(int window) { return VelmorMailboxReadTextW(window); }
string VelmorMailboxReadHTML(int window) { return VelmorMailboxReadHTMLW(window); }
int VelmorLoaderQuotes(int command, int bySymbols, int& timeframes[], string script) { return VelmorLoaderQuotesW(command, bySymbols, timeframes, script); }
