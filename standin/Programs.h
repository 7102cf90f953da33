#pragma once
// The programs on the stand-in's charts, as the terminal keeps them: the load
// requests of the internal message (13 standard indicator, 14 expert, 15
// custom indicator, 16 script) with their parameters dialogs, the removal of
// experts and scripts, the expert's properties, the experts switch, and the
// indicator list of the active chart.
#include "StandIn.h"

#include <map>
#include <mutex>
#include <functional>
#include <string>

namespace StandIn {

class Ui;

class Programs {
public:
    explicit Programs(Ui& ui) : m_ui(ui) { }

    // A new chart view and the programs it opens with.
    void AddChart(HWND view, const ChartPrograms& programs);
    // What reached a chart view or the main window. OnViewInternal answers
    // the internal message (non-zero: a load request was taken).
    LRESULT OnViewInternal(HWND view, WPARAM code, LPARAM value);
    void OnViewCommand(HWND view, UINT command);
    void OnMainCommand(UINT command);

    // Any thread.
    ChartPrograms Of(HWND view);
    bool ExpertsEnabled();

private:
    enum class Kind { Indicator, Expert, CustomIndicator, Script };
    struct Request {
        HWND view;
        Kind kind;
        std::string name;
    };
    static void CALLBACK OnRequestTimer(HWND, UINT, UINT_PTR timer, DWORD);

    bool Knows(Kind kind, const std::string& name) const;
    void ShowParameters(const Request& request);
    void Attach(const Request& request);
    void RemoveScript(HWND view);
    void ShowIndicatorList();

    Ui& m_ui;
    std::mutex m_mutex;  // the state below; the dialogs run on the terminal's thread
    std::map<HWND, ChartPrograms> m_charts;
    std::map<UINT_PTR, Request> m_requests;  // by the timer that opens their dialog
    bool m_expertsEnabled = true;
    bool m_asking = false;  // the script question is open
};

}  // namespace StandIn
