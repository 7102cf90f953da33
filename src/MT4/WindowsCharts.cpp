// Charts: what they are to the library, their enumeration, activation and
// closing, and the active-chart mutex that keeps an activated chart active.
#include <windows.h>

#include "MT4/Windows.h"
#include "Utils/Errors.h"
#include "Utils/Windows.h"

namespace MT4 {

void Windows::CheckChart(HWND chart, const char* method)
{
    if (!chart)
        throw Utils::Error::Argument(std::string("MT4::Windows::") + method, "Неверный системный дескриптор графика.");
}

// Any window inside the chart area, at any depth.
bool Windows::IsChart(HWND window) const
{
    return window && m_chartArea && IsChild(m_chartArea, window);
}

}  // namespace MT4
