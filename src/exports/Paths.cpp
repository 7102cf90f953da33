// Exports of the terminal's directories.
#include <windows.h>

#include "MT4/SyncText.h"
#include "MT4/Windows.h"
#include "exports/Arguments.h"
#include "exports/Frame.h"

extern "C" {

const char* WINAPI VelmorGetPathDirectoryMT4()
{
    return Frame::Call("VelmorGetPathDirectoryMT4()", static_cast<const char*>(nullptr),
        [] { return Utils::Pointer<MT4::SyncText>()->Set(Utils::Pointer<MT4::Windows>()->Directory()); });
}

const wchar_t* WINAPI VelmorGetPathDirectoryMT4W()
{
    return Frame::Call("VelmorGetPathDirectoryMT4W()", static_cast<const wchar_t*>(nullptr),
        [] { return WideResult(Utils::Pointer<MT4::Windows>()->Directory()); });
}

const char* WINAPI VelmorGetPathServer()
{
    return Frame::Call("VelmorGetPathServer()", static_cast<const char*>(nullptr),
        [] { return Utils::Pointer<MT4::SyncText>()->Set(ServerPathText()); });
}

const wchar_t* WINAPI VelmorGetPathServerW()
{
    return Frame::Call("VelmorGetPathServerW()", static_cast<const wchar_t*>(nullptr),
        [] { return WideResult(ServerPathText()); });
}

}  // extern "C"
