// probe.exe <pid>: what the library finds in a running terminal. The exit
// code is the number of items missing (0: the terminal build is served).
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
    std::fputs(report.text.c_str(), stdout);
    return report.missing;
}
