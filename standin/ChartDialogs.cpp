#include "ChartDialogs.h"

#include "Charts.h"
#include "Texts.h"
#include "Ui.h"

namespace StandIn {

namespace {

const ChartTexts RussianTexts = {
    "Свойства",
    "Цвета",
    "Общие",
    "Открыть",
    "Открыть график автономно",
    "Отмена",
    "Имя файла:",
    "Баров",
    { "Показывать линию Ask", "Показывать описания объектов", "График на переднем плане", "Показывать сетку",
        "Автономный график", "Показывать строку OHLC", "Фиксировать масштаб", "Фиксировать масштаб 1:1",
        "Автопрокрутка графика", "Показывать разделители периодов", "Смещение графика", "Показывать объёмы" },
    { "Бары", "Японские свечи", "Линия" },
    "Фиксированный максимум",
    "Фиксированный минимум",
    { "Фон", "Передний план", "Сетка" },
};

const ChartTexts EnglishTexts = {
    "Properties of",
    "Colors",
    "Common",
    "Open",
    "OpenRead Offline Chart",
    "Cancel",
    "File name:",
    "Bars",
    { "Show Ask line", "Show object descriptions", "Chart on foreground", "Show grid", "Offline chart",
        "Show OHLC", "Scale fix", "Scale fix 1:1", "Chart autoscroll", "Show period separators",
        "Chart shift", "Show volumes" },
    { "Bar chart", "Candlesticks", "Line chart" },
    "Fixed maximum",
    "Fixed minimum",
    { "Background", "Foreground", "Grid" },
};

// An interface in a third language.
const ChartTexts OtherTexts = {
    "Eigenschaften von",
    "Farben",
    "Allgemein",
    "Oeffnen",
    "Offline-Chart oeffnen",
    "Abbrechen",
    "Dateiname:",
    "Balken",
    { "Ask-Linie", "Objektbeschreibungen", "Chart im Vordergrund", "Gitter", "Offline-Chart", "OHLC-Zeile",
        "Fester Massstab", "Massstab 1:1", "Automatischer Bildlauf", "Periodentrenner", "Chartverschiebung",
        "Volumen" },
    { "Balken", "Kerzen", "Linie" },
    "Festes Maximum",
    "Festes Minimum",
    { "Hintergrund", "Vordergrund", "Gitter" },
};

constexpr int LineHeight = 22;
constexpr UINT Label = 0; // labels are no item the terminal looks up
constexpr int ButtonWidth = 80;

bool Checked(HWND button)
{
    return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string TextOf(HWND window)
{
    char text[260] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

} // namespace

const ChartTexts& ChartTextsOf(Language language)
{
    switch (language) {
    case Language::Russian:
        return RussianTexts;
    case Language::English:
        return EnglishTexts;
    default:
        return OtherTexts;
    }
}

// The dialog base ----------------------------------------------------------

INT_PTR ChartDialog::Run(HWND owner, const std::string& title, int width, int height)
{
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    RECT frame = { 0, 0, width, height };
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
    RECT ownerArea = {};
    GetWindowRect(owner, &ownerArea);
    const RECT area = { ownerArea.left + 120, ownerArea.top + 80,
        ownerArea.left + 120 + frame.right - frame.left, ownerArea.top + 80 + frame.bottom - frame.top };
    m_title = title;
    m_area = area;
    // An empty template: the controls are created in OnInit.
    alignas(4) WORD empty[12] = { LOWORD(style), HIWORD(style) };
    return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<const DLGTEMPLATE*>(empty),
        owner, Proc, reinterpret_cast<LPARAM>(this));
}

void ChartDialog::CreatePage(HWND parent, const std::string& title, const RECT& area)
{
    const DWORD style = WS_CHILD | DS_CONTROL;
    m_title = title;
    m_area = area;
    alignas(4) WORD empty[12] = { LOWORD(style), HIWORD(style) };
    CreateDialogIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<const DLGTEMPLATE*>(empty), parent,
        Proc, reinterpret_cast<LPARAM>(this));
}

HWND ChartDialog::Add(
    const char* className, const std::string& text, DWORD style, int x, int y, int width, int height, UINT id)
{
    HWND control = CreateWindowExA(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, width,
        height, m_handle, ChildId(id), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

HWND ChartDialog::AddButton(const std::string& text, DWORD style, int x, int y, int width, UINT id)
{
    return Add("Button", text, style | WS_TABSTOP, x, y, width, LineHeight, id);
}

INT_PTR CALLBACK ChartDialog::Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<ChartDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<ChartDialog*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        self->m_handle = dialog;
        SetWindowTextA(dialog, self->m_title.c_str());
        const RECT& area = self->m_area;
        MoveWindow(dialog, area.left, area.top, area.right - area.left, area.bottom - area.top, FALSE);
        self->OnInit();
        return TRUE;
    }
    if (!self)
        return FALSE;
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && lParam)
            self->m_ui.Record(Event::Command, dialog, message, wParam, lParam);
        self->OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NOTIFY:
        self->OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        return FALSE;
    case WM_NCDESTROY:
        self->m_handle = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

// Properties ---------------------------------------------------------------

class PropertiesDialog::ColorsPage : public ChartDialog {
public:
    using ChartDialog::ChartDialog;
    using ChartDialog::CreatePage;

private:
    void OnInit() override
    {
        const ChartTexts& texts = ChartTextsOf(TheUi().Setup().language);
        const char* const values[3] = { "Black", "Lime", "LightSlateGray" };
        for (int i = 0; i < 3; ++i) {
            Add("Static", texts.colors[i], 0, 12, 14 + i * 30, 140, LineHeight, Label);
            Add("Static", values[i], WS_BORDER, 160, 12 + i * 30, 150, LineHeight, Label);
        }
    }
};

class PropertiesDialog::CommonPage : public ChartDialog {
public:
    CommonPage(Ui& ui, const ChartSpec& chart)
        : ChartDialog(ui)
        , m_chart(chart)
    {
    }
    using ChartDialog::CreatePage;

    // What the page holds now, over the chart's other values.
    void Read(ChartSpec& chart) const
    {
        for (int i = 0; i < static_cast<int>(ChartSetting::Count); ++i)
            chart.settings[i] = Checked(Item(Id::SettingBox[i]));
        for (int i = 0; i < 3; ++i)
            if (Checked(Item(Id::ViewRadio[i])))
                chart.view = i;
        chart.fixedMaximum = TextOf(Item(Id::FixedMaximum));
        chart.fixedMinimum = TextOf(Item(Id::FixedMinimum));
    }

private:
    // Two columns of check boxes, the price display below the left one, the
    // fixed-scale limits below the right one.
    void OnInit() override
    {
        const ChartTexts& texts = ChartTextsOf(TheUi().Setup().language);
        const int count = static_cast<int>(ChartSetting::Count), half = count / 2;
        for (int i = 0; i < count; ++i) {
            HWND box = AddButton(texts.settings[i], BS_AUTOCHECKBOX, i < half ? 10 : 220,
                8 + (i % half) * LineHeight, 200, Id::SettingBox[i]);
            SendMessageA(box, BM_SETCHECK, m_chart.settings[i] ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        const int below = 16 + half * LineHeight;
        for (int i = 0; i < 3; ++i) {
            HWND radio = AddButton(texts.views[i], BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0), 10,
                below + i * LineHeight, 200, Id::ViewRadio[i]);
            SendMessageA(radio, BM_SETCHECK, m_chart.view == i ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        Add("Static", texts.fixedMaximum, 0, 220, below + 3, 110, LineHeight, Label);
        Add("Edit", m_chart.fixedMaximum, WS_BORDER | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, 330, below, 80,
            LineHeight, Id::FixedMaximum);
        Add("Static", texts.fixedMinimum, 0, 220, below + LineHeight + 7, 110, LineHeight, Label);
        Add("Edit", m_chart.fixedMinimum, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 330,
            below + LineHeight + 4, 80, LineHeight, Id::FixedMinimum);
    }

    ChartSpec m_chart;
};

PropertiesDialog::PropertiesDialog(Ui& ui, ChartFrame& chart)
    : ChartDialog(ui)
    , m_chart(chart)
{
}

PropertiesDialog::~PropertiesDialog() = default;

void PropertiesDialog::Run()
{
    const ChartTexts& texts = ChartTextsOf(TheUi().Setup().language);
    ChartDialog::Run(
        TheUi().Handles().main, std::string(texts.propertiesTitle) + " " + m_chart.Title(), 440, 360);
}

void PropertiesDialog::OnInit()
{
    const ChartTexts& texts = ChartTextsOf(TheUi().Setup().language);
    HWND tabs = Add(WC_TABCONTROLA, "", WS_CLIPSIBLINGS | WS_TABSTOP, 8, 8, 424, 306, Id::PropertiesTabs);
    const char* const pages[2] = { texts.colorsPage, texts.commonPage };
    for (int i = 0; i < 2; ++i) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(pages[i]);
        SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    AddButton("OK", BS_DEFPUSHBUTTON, 440 - 2 * (ButtonWidth + 8), 324, ButtonWidth, IDOK);
    AddButton(texts.cancel, BS_PUSHBUTTON, 440 - (ButtonWidth + 8), 324, ButtonWidth, IDCANCEL);
    ShowPage(0);
}

void PropertiesDialog::ShowPage(int index)
{
    HWND tabs = Item(Id::PropertiesTabs);
    RECT area;
    GetClientRect(tabs, &area);
    SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    MapWindowPoints(tabs, Handle(), reinterpret_cast<POINT*>(&area), 2);
    const ChartTexts& texts = ChartTextsOf(TheUi().Setup().language);
    if (index == 0 && !m_colors) {
        m_colors = std::make_unique<ColorsPage>(TheUi());
        m_colors->CreatePage(Handle(), texts.colorsPage, area);
    } else if (index == 1 && !m_common) {
        m_common = std::make_unique<CommonPage>(TheUi(), m_chart.Chart());
        m_common->CreatePage(Handle(), texts.commonPage, area);
    }
    HWND shown = index == 0 ? m_colors->Handle() : m_common->Handle();
    for (HWND page : { m_colors ? m_colors->Handle() : nullptr, m_common ? m_common->Handle() : nullptr })
        if (page && page != shown)
            ShowWindow(page, SW_HIDE);
    SetWindowPos(shown, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

void PropertiesDialog::OnNotify(const NMHDR& header)
{
    if (header.idFrom == Id::PropertiesTabs && header.code == TCN_SELCHANGE)
        ShowPage(static_cast<int>(SendMessageA(header.hwndFrom, TCM_GETCURSEL, 0, 0)));
}

void PropertiesDialog::OnCommand(UINT id, UINT)
{
    if (id == IDOK) {
        Apply();
        End(IDOK);
    } else if (id == IDCANCEL) {
        End(IDCANCEL);
    }
}

// The chart takes what the Common page holds; a page never shown changed nothing.
void PropertiesDialog::Apply()
{
    if (!m_common)
        return;
    ChartSpec chart = m_chart.Chart();
    m_common->Read(chart);
    m_chart.Change(chart);
}

// Loading a template -------------------------------------------------------

void TemplateDialog::Run()
{
    ChartDialog::Run(TheUi().Handles().main, ChartTextsOf(TheUi().Setup().language).open, 360, 100);
}

void TemplateDialog::OnInit()
{
    const ChartTexts& texts = ChartTextsOf(TheUi().Setup().language);
    Add("Static", texts.fileName, 0, 10, 15, 80, LineHeight, Label);
    Add("Edit", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 90, 12, 260, LineHeight, Id::FileName);
    AddButton(texts.open, BS_DEFPUSHBUTTON, 360 - 2 * (ButtonWidth + 8), 64, ButtonWidth, IDOK);
    AddButton(texts.cancel, BS_PUSHBUTTON, 360 - (ButtonWidth + 8), 64, ButtonWidth, IDCANCEL);
}

// The terminal loads whatever template the name gives.
void TemplateDialog::OnCommand(UINT id, UINT)
{
    if (id == IDOK) {
        ChartSpec chart = m_chart.Chart();
        chart.templateName = TextOf(Item(Id::FileName));
        m_chart.Change(chart);
        End(IDOK);
    } else if (id == IDCANCEL) {
        End(IDCANCEL);
    }
}

// Offline charts -----------------------------------------------------------

void OfflineDialog::Run()
{
    const Scenario& setup = TheUi().Setup();
    if (ChartDialog::Run(TheUi().Handles().main, ChartTextsOf(setup.language).offlineTitle, 360, 260) != IDOK
        || m_chosen < 0 || m_chosen >= static_cast<int>(setup.offlineCharts.size()))
        return;
    ChartSpec chart = setup.offlineCharts[m_chosen];
    chart.settings[static_cast<int>(ChartSetting::Offline)] = true;
    TheUi().OpenChart(chart);
}

void OfflineDialog::OnInit()
{
    const Scenario& setup = TheUi().Setup();
    const ChartTexts& texts = ChartTextsOf(setup.language);
    HWND list = Add(WC_LISTVIEWA, "", WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
        10, 10, 340, 200, Id::OfflineList);
    const char* const captions[2] = { TextsOf(setup.language).symbolColumn, texts.bars };
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<char*>(captions[i]);
        column.cx = i == 0 ? 200 : 100;
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    for (size_t row = 0; row < setup.offlineCharts.size(); ++row) {
        const ChartSpec& chart = setup.offlineCharts[row];
        std::string cells[2]
            = { chart.symbol + "," + PeriodName(chart.period), std::to_string(2048 + 100 * row) };
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(row);
        item.pszText = cells[0].data();
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = cells[1].data();
        SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    }
    AddButton("OK", BS_DEFPUSHBUTTON, 360 - 2 * (ButtonWidth + 8), 224, ButtonWidth, IDOK);
    AddButton(texts.cancel, BS_PUSHBUTTON, 360 - (ButtonWidth + 8), 224, ButtonWidth, IDCANCEL);
}

void OfflineDialog::OnCommand(UINT id, UINT)
{
    if (id == IDOK) {
        m_chosen = static_cast<int>(SendMessageA(Item(Id::OfflineList), LVM_GETNEXTITEM, -1, LVNI_SELECTED));
        End(IDOK);
    } else if (id == IDCANCEL) {
        End(IDCANCEL);
    }
}

} // namespace StandIn
