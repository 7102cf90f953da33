// Exports of the terminal's directories.
#include <windows.h>

#include "MT4/SyncText.h"
#include "MT4/Windows.h"
#include "exports/Frame.h"

extern "C" {

const char* WINAPI VelmorGetPathDirectoryMT4()
{
    return Frame::Call("VelmorGetPathDirectoryMT4()", static_cast<const char*>(nullptr),
        [] { return Utils::Pointer<MT4::SyncText>()->Set(Utils::Pointer<MT4::Windows>()->Directory()); });
}

const char* WINAPI VelmorGetPathServer()
{
    return Frame::Call("VelmorGetPathServer()", static_cast<const char*>(nullptr),
        [] { return Utils::Pointer<MT4::SyncText>()->Set(ServerPathText()); });
}

}  // extern "C"
