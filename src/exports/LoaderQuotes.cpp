// Exports of the history-quotes loader.
#include <windows.h>

#include "MT4/LoaderQuotes.h"
#include "exports/Arguments.h"
#include "exports/Frame.h"

namespace {

using Loader = Utils::Pointer<MT4::LoaderQuotes>;

}  // namespace

extern "C" {

int32_t WINAPI VelmorLoaderQuotes(int32_t command, int32_t bySymbols, const int32_t* timeframes,
    const char* scriptName)
{
    return Frame::Call("VelmorLoaderQuotes()", -1,
        [=] { return Loader()->Run(command, bySymbols != 0, timeframes, scriptName); });
}

int32_t WINAPI VelmorLoaderQuotesW(int32_t command, int32_t bySymbols, const int32_t* timeframes,
    const wchar_t* scriptName)
{
    return Frame::Call("VelmorLoaderQuotesW()", -1, [=] {
        const std::string name = Text(scriptName);
        return Loader()->Run(command, bySymbols != 0, timeframes, scriptName ? name.c_str() : nullptr);
    });
}

void WINAPI VelmorSensorLoadQuotes(int32_t chart)
{
    Frame::Run("VelmorSensorLoadQuotes()", [=] { MT4::LoaderQuotes::Sensor(AsWindow(chart)); });
}

}  // extern "C"
