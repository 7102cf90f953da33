#pragma once
// The terminal's dialogs around charts, each a real "#32770" dialog: the
// chart's Properties (tab control 0x3020 with the Colors and Common pages),
// the Open dialog that loads a template, and the dialog that opens offline
// charts. Each runs modally on the terminal's thread, as the terminal's own.
#include "StandIn.h"

#include <commctrl.h>

#include <memory>
#include <string>

namespace StandIn {

class Ui;
class ChartFrame;

namespace Id {
constexpr UINT PropertiesTabs = 0x3020;
constexpr UINT SettingBox[static_cast<int>(ChartSetting::Count)]
    = { 1248, 1251, 1252, 1253, 1257, 1258, 1259, 1260, 1261, 1262, 1263, 1264 };
constexpr UINT ViewRadio[3] = { 1249, 1250, 1254 }; // bars, candlesticks, line
constexpr UINT FixedMaximum = 1255;
constexpr UINT FixedMinimum = 1256;
constexpr UINT FileName = 0x480; // the Open dialog's file-name edit
constexpr UINT OfflineList = 0x487; // the offline dialog's list view
constexpr UINT CommandLine = 0x45A; // the chart's command line
} // namespace Id

// The localized words of these dialogs.
struct ChartTexts {
    const char* propertiesTitle; // followed by a blank and the chart, "EURUSD,H1"
    const char* colorsPage;
    const char* commonPage;
    const char* open;
    const char* offlineTitle;
    const char* cancel;
    const char* fileName;
    const char* bars; // the offline list's second column
    const char* settings[static_cast<int>(ChartSetting::Count)];
    const char* views[3];
    const char* fixedMaximum;
    const char* fixedMinimum;
    const char* colors[3]; // labels of the Colors page
};

const ChartTexts& ChartTextsOf(Language language);

// A dialog of class "#32770" served by an object: modal, or a child page of
// another dialog. It journals the clicks of its buttons (BN_CLICKED).
class ChartDialog {
public:
    explicit ChartDialog(Ui& ui)
        : m_ui(ui)
    {
    }
    virtual ~ChartDialog() = default;
    ChartDialog(const ChartDialog&) = delete;
    ChartDialog& operator=(const ChartDialog&) = delete;

    HWND Handle() const { return m_handle; }

protected:
    // Runs the dialog until it ends; returns what End was given.
    INT_PTR Run(HWND owner, const std::string& title, int width, int height);
    // A page: a child dialog over `area` of `parent`, hidden until shown.
    void CreatePage(HWND parent, const std::string& title, const RECT& area);
    void End(INT_PTR result) { EndDialog(m_handle, result); }

    virtual void OnInit() { }
    virtual void OnCommand(UINT /*id*/, UINT /*code*/) { }
    virtual void OnNotify(const NMHDR& /*header*/) { }

    HWND Add(const char* className, const std::string& text, DWORD style, int x, int y, int width, int height,
        UINT id);
    HWND AddButton(const std::string& text, DWORD style, int x, int y, int width, UINT id);
    HWND Item(UINT id) const { return GetDlgItem(m_handle, id); }
    Ui& TheUi() const { return m_ui; }

private:
    HWND Create(HWND parent, DWORD style, const std::string& title, const RECT& area, bool modal);
    static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    Ui& m_ui;
    HWND m_handle = nullptr;
    std::string m_title;
    RECT m_area = {};
};

// Properties of a chart (command 33157): OK applies the Common page to the
// chart. It opens on the Colors page; a page is created when first shown.
class PropertiesDialog : public ChartDialog {
public:
    PropertiesDialog(Ui& ui, ChartFrame& chart);
    ~PropertiesDialog() override;
    void Run();

private:
    void OnInit() override;
    void OnCommand(UINT id, UINT code) override;
    void OnNotify(const NMHDR& header) override;
    void ShowPage(int index);
    void Apply();

    class ColorsPage;
    class CommonPage;
    ChartFrame& m_chart;
    std::unique_ptr<ColorsPage> m_colors;
    std::unique_ptr<CommonPage> m_common;
};

// The Open dialog of the load-template command (35511): OK loads the template
// named in the edit into the chart.
class TemplateDialog : public ChartDialog {
public:
    TemplateDialog(Ui& ui, ChartFrame& chart)
        : ChartDialog(ui)
        , m_chart(chart)
    {
    }
    void Run();

private:
    void OnInit() override;
    void OnCommand(UINT id, UINT code) override;

    ChartFrame& m_chart;
};

// Open offline chart (command 33053): one row per offline chart, "SYMBOL,TF";
// OK opens the selected one on top of the others.
class OfflineDialog : public ChartDialog {
public:
    explicit OfflineDialog(Ui& ui)
        : ChartDialog(ui)
    {
    }
    void Run();

private:
    void OnInit() override;
    void OnCommand(UINT id, UINT code) override;

    int m_chosen = -1;
};

} // namespace StandIn
