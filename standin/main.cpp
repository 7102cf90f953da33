// standin.exe <scenario name | scenario file>: the stand-in terminal in a
// process of its own. Prints "standin pid=<pid> main=0x<main window>" once
// its windows exist and exits 0 when the main window is closed.
#include "StandIn.h"
#include "Ui.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <exception>

namespace {

StandIn::Scenario Load(const char* argument)
{
    if (GetFileAttributesA(argument) != INVALID_FILE_ATTRIBUTES)
        return StandIn::Scenario::FromFile(argument);
    return StandIn::Scenario::Named(argument);
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        const StandIn::Scenario scenario = argc > 1 ? Load(argv[1]) : StandIn::Scenario();
        StandIn::Journal journal;
        StandIn::TickBoard ticks;
        StandIn::Ui ui(scenario, journal, ticks);
        ui.Build();
        _setmode(_fileno(stdout), _O_BINARY);  // the line ends in "\n" alone
        std::printf("standin pid=%lu main=0x%llx\n", static_cast<unsigned long>(GetCurrentProcessId()),
            static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(ui.Handles().main)));
        std::fflush(stdout);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "standin: %s\n", error.what());
        return 2;
    }
}
