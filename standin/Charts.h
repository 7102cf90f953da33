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
};

class ChartFrame : public Window {
public:
    ChartFrame(Ui& ui, const ChartSpec& chart) : m_ui(ui), m_chart(chart), m_view(ui, *this) { }

    void Create(HWND chartArea, int index);  // becomes the active chart
    HWND View() const { return m_view.Handle(); }
    const ChartSpec& Chart() const { return m_chart; }
    std::string Title() const;  // "EURUSD,H1"

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnSize(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFocus(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMdiActivate(UINT message, WPARAM wParam, LPARAM lParam);

    Ui& m_ui;
    ChartSpec m_chart;
    ChartView m_view;
};

}  // namespace StandIn
