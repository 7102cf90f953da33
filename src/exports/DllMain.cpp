// The module entry point: pins the library at load, tidies up at unload.
#include <windows.h>

#include "Utils/Base.h"
#include "Utils/DLL.h"
#include "exports/Init.h"

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH: {
        // One extra load reference: the code stays in memory until the
        // process ends, even after the programs that imported it are gone.
        // The module is named by its own file, whatever the user called it.
        char path[MAX_PATH] = {};
        const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
        try {
            Utils::DLL::Increment(length > 0 && length < MAX_PATH ? path : "RazozazER4.dll");
        } catch (...) {
            // No box under the loader lock; the library works unpinned.
        }
        break;
    }
    case DLL_PROCESS_DETACH:
        DeInit();
        Utils::DeletePointerLock();
        break;
    default:
        break;
    }
    return TRUE;
}
