#pragma once
// The terminal's main window: an MDI frame whose client is the chart area,
// with dock bars around it. It journals commands, keys, its title, its show
// state and WM_CLOSE.
#include "Window.h"

#include <string>

namespace StandIn {

class Ui;

class MainWindow : public Window {
public:
    explicit MainWindow(Ui& ui) : m_ui(ui) { }

    void Create();  // the frame (hidden) and its chart area
    HWND ChartArea() const { return m_chartArea; }
    // The terminal's title for the active chart, "SYMBOL,TF", or none.
    void ShowActiveChart(const std::string& chart);
    // The account the terminal is logged in to; the title follows.
    void LogIn(const std::string& account, const std::string& server);
    const std::string& Account() const { return m_account; }
    const std::string& Server() const { return m_server; }
    void Layout();
    // Keeps the floating panels above the frame for a while after start-up.
    void WatchFloatingFrames();

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnSize(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnSetText(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnWindowPosChanged(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFocus(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnKey(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnClose(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(UINT message, WPARAM wParam, LPARAM lParam);

    void RaiseFloatingFrames();
    WPARAM ShowState() const;
    std::string Text() const;

    Ui& m_ui;
    std::string m_account;
    std::string m_server;
    std::string m_chart;  // the active chart in the title, or none
    HWND m_chartArea = nullptr;
    WPARAM m_showState = SW_HIDE;
    bool m_closing = false;
    int m_watchTicks = 0;  // hiding on the way out is no change of the show state
};

}  // namespace StandIn
