#pragma once
// Control bars and panels: the dock bars of the main window, the bars that
// hold docked panels, the frames of floating panels, and the panels' content
// windows with their lists, tree and tab strips.
#include "StandIn.h"
#include "Window.h"

#include <vector>

namespace StandIn {

class Ui;

// A dock bar of the main window: lines up the bars docked in it.
class DockBar : public Window {
public:
    enum class Direction { Across, Down };
    explicit DockBar(Direction direction) : m_direction(direction) { }
    void Create(HWND main, UINT id);

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnSize(UINT message, WPARAM wParam, LPARAM lParam);

    Direction m_direction;
};

// The bar around one panel: docked (titled, with a caption strip) or the
// 0xE81F bar inside a floating frame. Its only child is the panel content.
class ControlBar : public Window {
public:
    void Create(HWND parent, const char* title, UINT id);

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnSize(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint(UINT message, WPARAM wParam, LPARAM lParam);

    int CaptionHeight() const;
};

// The small top-level frame of a floating panel, owned by the main window.
class FloatingFrame : public Window {
public:
    void Create(HWND main, const char* title, int index);
    void Layout();  // the bar fills the frame

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnSize(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnClose(UINT message, WPARAM wParam, LPARAM lParam);
};

// A panel's content window (the window with the panel's id); each panel
// creates its own controls and lays them out.
class Panel : public Window {
public:
    Panel(Ui& ui, PanelId id) : m_ui(ui), m_id(id) { }
    void Create(HWND bar);

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    virtual void CreateControls() = 0;
    virtual void Layout(int width, int height) = 0;
    virtual LRESULT OnNotify(UINT message, WPARAM wParam, LPARAM lParam);

    HWND CreateControl(const char* className, DWORD style, UINT id);

    Ui& m_ui;
    PanelId m_id;

private:
    LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnSize(UINT message, WPARAM wParam, LPARAM lParam);
};

class DataWindowPanel : public Panel {
public:
    explicit DataWindowPanel(Ui& ui) : Panel(ui, PanelId::DataWindow) { }

protected:
    void CreateControls() override;
    void Layout(int width, int height) override;
};

class MarketWatchPanel : public Panel {
public:
    explicit MarketWatchPanel(Ui& ui) : Panel(ui, PanelId::MarketWatch) { }

protected:
    void CreateControls() override;
    void Layout(int width, int height) override;
};

class NavigatorPanel : public Panel {
public:
    explicit NavigatorPanel(Ui& ui) : Panel(ui, PanelId::Navigator) { }

protected:
    void CreateControls() override;
    void Layout(int width, int height) override;
};

// The Terminal panel: a tab strip under the lists; list i belongs to tab i
// and only the selected tab's list is shown.
class TerminalPanel : public Panel {
public:
    explicit TerminalPanel(Ui& ui) : Panel(ui, PanelId::Terminal) { }

protected:
    void CreateControls() override;
    void Layout(int width, int height) override;
    LRESULT OnNotify(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ShowListOfTab(int tab);

    HWND m_tabs = nullptr;
    std::vector<HWND> m_lists;
};

class TesterPanel : public Panel {
public:
    explicit TesterPanel(Ui& ui) : Panel(ui, PanelId::Tester) { }

protected:
    void CreateControls() override;
    void Layout(int width, int height) override;

private:
    HWND m_tabs = nullptr;
};

// A tab strip with the given captions, as a child of `parent`.
HWND CreateTabStrip(HWND parent, UINT id, const char* const* captions, int count, DWORD style = 0);

}  // namespace StandIn
