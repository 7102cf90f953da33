#include "exports/Frame.h"

#include "Utils/Wait.h"

namespace Frame {

namespace {

void Show(const char* caption, const char* prefix, const char* text) noexcept
{
    if (!*prefix) {
        ShowErrorBox(caption, text);
        return;
    }
    try {
        ShowErrorBox(caption, (std::string(prefix) + text).c_str());
    } catch (...) {
        ShowErrorBox(caption, text);
    }
}

// The exports, by caption, that post a command and wait for the modal dialog
// it opens (or send a request the dialog answers): the terminal runs such a
// dialog on its interface thread, so called from that thread they could only
// wait for themselves. A wide twin ("…W()") goes with its export.
const char* const WaitForADialog[] = { "VelmorOpenGlobalVariables", "VelmorOpenHistoryCenter", "VelmorOpenOptions",
    "VelmorGetNameServer", "VelmorLogin", "VelmorGetAutoScroll", "VelmorGetScaleFix", "VelmorGetScaleFix1To1",
    "VelmorGetForeground", "VelmorGetOffline", "VelmorGetShift", "VelmorGetShowAsk", "VelmorGetShowGrid",
    "VelmorGetShowObjectDescript", "VelmorGetShowOHLC", "VelmorGetShowPeriodSeparators", "VelmorGetShowVolume",
    "VelmorGetViewChart", "VelmorSetAutoScroll", "VelmorSetOffline", "VelmorSetScale", "VelmorSetScaleFix",
    "VelmorSetScaleFix1To1", "VelmorSetForeground", "VelmorSetShift", "VelmorSetShowAsk", "VelmorSetShowGrid",
    "VelmorSetShowObjectDescriptions", "VelmorSetShowOHLC", "VelmorSetShowPeriodSeparators", "VelmorSetShowVolume",
    "VelmorOpenPropertiesChart", "PropertiesChartCheckBox", "VelmorSetTemplateByName", "VelmorOpenOfflineChart",
    "VelmorLoadCustomIndicator", "VelmorLoadExpert", "VelmorLoadScript", "VelmorLoadStdIndicator",
    "VelmorGetNamesIndicators", "VelmorListIndicators" };

bool WaitsForADialog(const char* caption)
{
    std::string name(caption);
    if (name.size() > 2 && name.compare(name.size() - 2, 2, "()") == 0)
        name.resize(name.size() - 2);
    for (const char* listed : WaitForADialog)
        if (name == listed || name == std::string(listed) + "W")
            return true;
    return false;
}

}  // namespace

void CheckInterfaceThread(const char* caption)
{
    if (!Utils::Wait::OnInterfaceThread())
        return;
    if (WaitsForADialog(caption))
        throw std::string("Ошибка в методе \"") + caption
            + "\".\nФункция ждёт диалог, который открывает поток интерфейса терминала, и не может быть вызвана из "
              "индикатора (индикатор работает в этом же потоке). Вызовите её из эксперта или скрипта.";
}

void ReportCurrent(const char* caption, const char* prefix, DWORD lastError) noexcept
{
    try {
        throw;
    } catch (const char* text) {
        Show(caption, prefix, text);
    } catch (const std::string& text) {
        Show(caption, prefix, text.c_str());
    } catch (...) {
        try {
            Show(caption, prefix, ("Системная ошибка!" + LastErrorText(lastError)).c_str());
        } catch (...) {
            Show(caption, prefix, "Системная ошибка!");
        }
    }
}

}  // namespace Frame
