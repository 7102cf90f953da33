// probe.exe <pid>: what the library finds in a running terminal. The exit
// code is the number of items missing (0: the terminal build is served). The
// report's Russian names are Windows-1251: a console shows them in that code
// page while the report is printed.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "Probe.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: probe.exe <terminal process id>\n");
        return 100;
    }
    const Probe::Report report = Probe::Run(static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10)));
    const UINT console = GetConsoleOutputCP();  // 0 without a console
    if (console)
        SetConsoleOutputCP(1251);
    std::fputs(report.text.c_str(), stdout);
    std::fflush(stdout);
    if (console)
        SetConsoleOutputCP(console);
    return report.missing;
}
