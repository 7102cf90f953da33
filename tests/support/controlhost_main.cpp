// controlhost.exe: the standard controls of Support::ControlHost in a process
// of their own. Prints "controlhost pid=<pid> main=0x<window>" once they
// exist and exits 0 when the window is closed.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "support/ControlHost.h"

int main()
{
    Support::ControlHost host;
    _setmode(_fileno(stdout), _O_BINARY);
    std::printf("controlhost pid=%lu main=0x%llx\n", static_cast<unsigned long>(GetCurrentProcessId()),
        static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(host.Window())));
    std::fflush(stdout);
    host.WaitUntilClosed();
    return 0;
}
