#pragma once
// A chart: an MDI child frame in the chart area holding the chart view,
// which paints the chart and journals what the library sends to a chart.
#include "StandIn.h"
#include "Window.h"

namespace StandIn {

class Ui;
class ChartFrame;

class ChartView : public Window {
public:
    ChartView(Ui& ui, ChartFrame& frame) : m_ui(ui), m_frame(frame) { }
    void Create(HWND frame);
    // Enter on the chart: the command line (edit 0x45A) is created the
    // first time and shown; Enter in it carries out its text and hides it.
    void OpenCommandLine();
    void CarryOutCommandLine(LPARAM keyData);

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnPaint(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseActivate(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMouse(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnKey(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnInternal(UINT message, WPARAM wParam, LPARAM lParam);

    Ui& m_ui;
    ChartFrame& m_frame;
    HWND m_commandLine = nullptr;
};

class ChartFrame : public Window {
public:
    ChartFrame(Ui& ui, const ChartSpec& chart) : m_ui(ui), m_chart(chart), m_view(ui, *this) { }

    void Create(HWND chartArea, int index);  // becomes the active chart
    HWND View() const { return m_view.Handle(); }
    const ChartSpec& Chart() const { return m_chart; }
    std::string Title() const;  // "EURUSD,H1"

    // The terminal's reactions to what reaches the chart (ChartCommands.cpp).
    void OnViewCommand(UINT command);   // a command posted or sent to the chart view
    void OnInternal(WPARAM code, LPARAM value);
    void CarryOut(const std::string& line);  // a command-line text: "SYMBOL" or "SYMBOL,PERIOD"
    // Changes what the chart holds; its frame's and the terminal's titles follow.
    void Change(const ChartSpec& chart);
    // The chart of a frame window, or null for any other window.
    static ChartFrame* Of(HWND frame);

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnSize(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFocus(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMdiActivate(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(UINT message, WPARAM wParam, LPARAM lParam);

    Ui& m_ui;
    ChartSpec m_chart;
    ChartView m_view;
};

// What the main window carries out for the charts: templates and zoom on the
// active chart, the offline dialog, the deleted charts. False when the
// command is none of these.
bool CarryChartCommand(Ui& ui, UINT command);

// True when the scenario has the terminal ignore the command.
bool Ignores(const Ui& ui, UINT command);

}  // namespace StandIn
