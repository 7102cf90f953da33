#pragma once
// The programs on the stand-in's charts, as the terminal keeps them: the load
// requests of the internal message (13 standard indicator, 14 expert, 15
// custom indicator, 16 script) with their parameters dialogs, the removal of
// experts and scripts, the expert's properties, the experts switch, and the
// indicator list of the active chart. Scripts that the scenario gives an
// action run on threads of their own.
#include "StandIn.h"

#include <map>
#include <mutex>
#include <functional>
#include <string>
#include <vector>

namespace StandIn {

class Ui;

class Programs {
public:
    explicit Programs(Ui& ui) : m_ui(ui) { }
    // Stops the scripts still running and waits for them.
    ~Programs();
    Programs(const Programs&) = delete;
    Programs& operator=(const Programs&) = delete;

    // A new chart view and the programs it opens with.
    void AddChart(HWND view, const ChartPrograms& programs);
    // A chart view going: its script stops.
    void RemoveChart(HWND view);
    // What reached a chart view or the main window. OnViewInternal answers
    // the internal message (non-zero: a load request was taken).
    LRESULT OnViewInternal(HWND view, WPARAM code, LPARAM value);
    void OnViewCommand(HWND view, UINT command);
    void OnMainCommand(UINT command);

    // Any thread.
    ChartPrograms Of(HWND view);
    bool ExpertsEnabled();
    std::vector<ScriptRun> Runs();

private:
    enum class Kind { Indicator, Expert, CustomIndicator, Script };
    struct Request {
        HWND view;
        Kind kind;
        std::string name;
    };
    // A script's thread: its chart, what it does, and the event that stops it.
    struct Script {
        HWND view;
        ScriptSpec spec;
        HANDLE thread;
        HANDLE stop;
    };
    struct ScriptStart {
        Programs* programs;
        unsigned run;
    };
    static void CALLBACK OnRequestTimer(HWND, UINT, UINT_PTR timer, DWORD);
    static unsigned __stdcall RunScript(void* start);

    bool Knows(Kind kind, const std::string& name) const;
    const ScriptSpec* ActionOf(const std::string& name) const;
    // A script with an action runs at once; every other program shows its
    // parameters dialog first.
    void Open(const Request& request);
    void ShowParameters(const Request& request);
    void Attach(const Request& request);
    // On the terminal's thread: records the start and runs the script's action.
    void StartScript(HWND view, const std::string& name);
    void StopScripts(HWND view);  // under m_mutex
    void ScriptEnded(unsigned run);
    void Remove(HWND view, bool expert);
    void ShowIndicatorList();

    Ui& m_ui;
    std::mutex m_mutex;  // the state below; the dialogs run on the terminal's thread
    std::map<HWND, ChartPrograms> m_charts;
    std::map<UINT_PTR, Request> m_requests;  // by the timer that opens their dialog
    bool m_expertsEnabled = true;
    bool m_asking = false;  // a removal question is open
    std::map<unsigned, Script> m_scripts;  // by run number; ended ones keep their thread handle
    std::vector<ScriptRun> m_runs;
    std::map<HWND, unsigned> m_latestRun;  // the run number of each chart's last script
};

}  // namespace StandIn
