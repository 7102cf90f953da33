#pragma once
// One stand-in terminal's windows, built and served on the thread that
// creates the Ui: the main window, its docks, toolbars, panels and charts.
#include "StandIn.h"
#include "Texts.h"
#include "Window.h"

#include <functional>
#include <memory>
#include <vector>

namespace StandIn {

class MainWindow;
class Panel;
class Programs;

class Ui {
public:
    Ui(const Scenario& scenario, Journal& journal, TickBoard& ticks);
    ~Ui();  // destroys the main window (and so every other window) if it still exists
    Ui(const Ui&) = delete;
    Ui& operator=(const Ui&) = delete;

    // Creates every window, shows the main window and prepares the history
    // folder; throws std::runtime_error on failure.
    void Build();

    const Scenario& Setup() const { return m_scenario; }
    const Texts& Text() const { return m_texts; }
    const Windows& Handles() const { return m_handles; }
    Windows& Handles() { return m_handles; }
    MainWindow& Main() { return *m_main; }
    UINT InternalMessage() const { return m_internalMessage; }
    TickBoard& Ticks() { return m_ticks; }
    Programs& ProgramsOnCharts() { return *m_programs; }

    // Opens a chart on top of the others, as the active one; returns its view.
    HWND OpenChart(const ChartSpec& chart, const ChartPrograms& programs = ChartPrograms());

    void Record(Event::Kind kind, HWND window, UINT message, WPARAM wParam, LPARAM lParam, std::string text = {});

    // Carries out a command's reaction: at once, or lagMs later on this
    // thread when the scenario lags. A late reaction must find its windows
    // anew (they may have gone meanwhile).
    void React(std::function<void()> reaction);
    // Carries out `reaction` on this thread once its current message is
    // handled, at least `ms` later.
    void After(DWORD ms, std::function<void()> reaction);

private:
    static void RegisterClasses();
    void CreateDocks();
    void CreateToolbars();
    void CreatePanels();
    void CreatePanel(PanelId id);
    std::unique_ptr<Panel> MakePanel(PanelId id);
    void ShowFloatingFrames();
    void CreateCharts();
    void CreateHistoryFolder();

    template <class T>
    T& Keep(std::unique_ptr<T> window)
    {
        T& kept = *window;
        m_windows.push_back(std::move(window));
        return kept;
    }

    Scenario m_scenario;
    Journal& m_journal;
    TickBoard& m_ticks;
    const Texts& m_texts;
    UINT m_internalMessage;
    Windows m_handles;
    std::unique_ptr<MainWindow> m_main;
    std::unique_ptr<Programs> m_programs;
    std::vector<std::unique_ptr<Window>> m_windows;  // every other window object, alive as long as the Ui
};

}  // namespace StandIn
