// Exports of a chart's display settings.
#include <windows.h>

#include <cstdint>

#include "MT4/Windows.h"
#include "exports/Frame.h"
#include "exports/Arguments.h"

namespace {

using Terminal = Utils::Pointer<MT4::Windows>;
using Setting = MT4::Windows::ChartSetting;

int32_t Get(const char* caption, Setting setting, int32_t chart)
{
    return Frame::Call(caption, 0, [=] { return Terminal()->GetSetting(setting, AsWindow(chart)); });
}

int32_t Set(const char* caption, Setting setting, int32_t chart, int32_t checked)
{
    return Frame::Call(
        caption, 0, [=] { return Terminal()->SetSetting(setting, AsWindow(chart), checked != 0); });
}

int32_t Toggle(const char* caption, Setting setting, int32_t chart)
{
    return Frame::Call(caption, 0, [=] { return Terminal()->ToggleSetting(setting, AsWindow(chart)); });
}

} // namespace

extern "C" {
int32_t WINAPI VelmorGetShowAsk(int32_t chart)
{
    return Get("VelmorGetShowAsk()", Setting::ShowAsk, chart);
}
int32_t WINAPI VelmorGetShowObjectDescript(int32_t chart)
{
    return Get("VelmorGetShowObjectDescript()", Setting::ShowObjectDescriptions, chart);
}
int32_t WINAPI VelmorGetForeground(int32_t chart)
{
    return Get("VelmorGetForeground()", Setting::Foreground, chart);
}
int32_t WINAPI VelmorGetShowGrid(int32_t chart)
{
    return Get("VelmorGetShowGrid()", Setting::ShowGrid, chart);
}
int32_t WINAPI VelmorGetOffline(int32_t chart)
{
    return Get("VelmorGetOffline()", Setting::Offline, chart);
}
int32_t WINAPI VelmorGetShowOHLC(int32_t chart)
{
    return Get("VelmorGetShowOHLC()", Setting::ShowOHLC, chart);
}
int32_t WINAPI VelmorGetScaleFix(int32_t chart)
{
    return Get("VelmorGetScaleFix()", Setting::ScaleFix, chart);
}
int32_t WINAPI VelmorGetScaleFix1To1(int32_t chart)
{
    return Get("VelmorGetScaleFix1To1()", Setting::ScaleFix1To1, chart);
}
int32_t WINAPI VelmorGetAutoScroll(int32_t chart)
{
    return Get("VelmorGetAutoScroll()", Setting::AutoScroll, chart);
}
int32_t WINAPI VelmorGetShowPeriodSeparators(int32_t chart)
{
    return Get("VelmorGetShowPeriodSeparators()", Setting::ShowPeriodSeparators, chart);
}
int32_t WINAPI VelmorGetShift(int32_t chart)
{
    return Get("VelmorGetShift()", Setting::Shift, chart);
}
int32_t WINAPI VelmorGetShowVolume(int32_t chart)
{
    return Get("VelmorGetShowVolume()", Setting::ShowVolume, chart);
}

int32_t WINAPI VelmorSetShowAsk(int32_t chart, int32_t checked)
{
    return Set("VelmorSetShowAsk()", Setting::ShowAsk, chart, checked);
}

int32_t WINAPI VelmorSetShowObjectDescript(int32_t chart, int32_t checked)
{
    return Set("VelmorSetShowObjectDescriptions()", Setting::ShowObjectDescriptions, chart, checked);
}

int32_t WINAPI VelmorSetForeground(int32_t chart, int32_t checked)
{
    return Set("VelmorSetForeground()", Setting::Foreground, chart, checked);
}

int32_t WINAPI VelmorSetShowGrid(int32_t chart, int32_t checked)
{
    return Set("VelmorSetShowGrid()", Setting::ShowGrid, chart, checked);
}

int32_t WINAPI VelmorSetOffline(int32_t chart, int32_t checked)
{
    return Set("VelmorSetOffline()", Setting::Offline, chart, checked);
}

int32_t WINAPI VelmorSetShowOHLC(int32_t chart, int32_t checked)
{
    return Set("VelmorSetShowOHLC()", Setting::ShowOHLC, chart, checked);
}

int32_t WINAPI VelmorSetScaleFix(int32_t chart, int32_t checked)
{
    return Set("VelmorSetScaleFix()", Setting::ScaleFix, chart, checked);
}

int32_t WINAPI VelmorSetScaleFix1To1(int32_t chart, int32_t checked)
{
    return Set("VelmorSetScaleFix1To1()", Setting::ScaleFix1To1, chart, checked);
}

int32_t WINAPI VelmorSetAutoScroll(int32_t chart, int32_t checked)
{
    return Set("VelmorSetAutoScroll()", Setting::AutoScroll, chart, checked);
}

int32_t WINAPI VelmorSetShowPeriodSeparators(int32_t chart, int32_t checked)
{
    return Set("VelmorSetShowPeriodSeparators()", Setting::ShowPeriodSeparators, chart, checked);
}

int32_t WINAPI VelmorSetShift(int32_t chart, int32_t checked)
{
    return Set("VelmorSetShift()", Setting::Shift, chart, checked);
}

int32_t WINAPI VelmorSetShowVolume(int32_t chart, int32_t checked)
{
    return Set("VelmorSetShowVolume()", Setting::ShowVolume, chart, checked);
}

int32_t WINAPI VelmorAutoScroll(int32_t chart)
{
    return Toggle("VelmorAutoScroll()", Setting::AutoScroll, chart);
}
int32_t WINAPI VelmorShift(int32_t chart)
{
    return Toggle("VelmorShift()", Setting::Shift, chart);
}
int32_t WINAPI VelmorShowGrid(int32_t chart)
{
    return Toggle("VelmorShowGrid()", Setting::ShowGrid, chart);
}
int32_t WINAPI VelmorShowVolume(int32_t chart)
{
    return Toggle("VelmorShowVolume()", Setting::ShowVolume, chart);
}

int32_t WINAPI VelmorGetViewChart(int32_t chart)
{
    return Frame::Call("VelmorGetViewChart()", -1, [=] { return Terminal()->GetViewChart(AsWindow(chart)); });
}

int32_t WINAPI VelmorSetViewChart(int32_t chart, int32_t view)
{
    return Frame::Call("VelmorSetViewChart()", 0,
        [=] { return Terminal()->SetViewChart(AsWindow(chart), static_cast<WORD>(view)); });
}

void WINAPI VelmorSetScale(int32_t chart, double first, double second)
{
    Frame::Run("VelmorSetScale()", [=] { Terminal()->SetScale(AsWindow(chart), first, second); });
}

int32_t WINAPI VelmorOpenPropertiesChart(int32_t chart, int32_t page)
{
    return Frame::Call("VelmorOpenPropertiesChart()", 0, [=] {
        return AsInteger(Terminal()->OpenPropertiesChart(AsWindow(chart), static_cast<WORD>(page)).dialog);
    });
}

void WINAPI VelmorPropertiesChartCheckBox(
    int32_t chart, int32_t write, MT4::Windows::ChartCheckBoxEntry* entries, int32_t count)
{
    Frame::Run("PropertiesChartCheckBox()", [=] {
        Terminal()->PropertiesChartCheckBox(AsWindow(chart), write != 0, entries, static_cast<WORD>(count));
    });
}

} // extern "C"
