// A tour of the library: loads RazozazER4.dll by name, as the terminal does
// for the programs that import it, calls its exports and prints what they
// returned.
#include <windows.h>
#include <cstdint>
#include <cstdio>

namespace {

LRESULT CALLBACK TourWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateTourWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = TourWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = CreateSolidBrush(RGB(0x20, 0x80, 0xC0));
    windowClass.lpszClassName = "RazozazER4Tour";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, "RazozazER4Tour", "tour", WS_POPUP | WS_VISIBLE, 100, 100, 200,
        150, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    UpdateWindow(window);
    return window;
}

}  // namespace

int main()
{
    HMODULE library = LoadLibraryA("RazozazER4.dll");
    if (!library) {
        std::printf("RazozazER4.dll not loaded (error %lu)\n", GetLastError());
        return 1;
    }
    using GetCursorInfoProc = void(WINAPI*)(int32_t*, int32_t);
    auto getCursorInfo = reinterpret_cast<GetCursorInfoProc>(
        reinterpret_cast<void*>(GetProcAddress(library, "VelmorGetCursorInfo")));
    if (!getCursorInfo) {
        std::printf("VelmorGetCursorInfo not exported\n");
        return 1;
    }

    HWND window = CreateTourWindow();
    SetCursorPos(150, 130);
    int32_t info[6] = {};
    getCursorInfo(info, 6);
    std::printf("VelmorGetCursorInfo, cursor set to (150, 130) over a window 0x%lX painted 0x%06lX:\n",
        static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)), static_cast<unsigned long>(RGB(0x20, 0x80, 0xC0)));
    std::printf("  window under the cursor  0x%lX\n", static_cast<unsigned long>(info[0]));
    std::printf("  screen position          (%ld, %ld)\n", static_cast<long>(info[1]), static_cast<long>(info[2]));
    std::printf("  client position          (%ld, %ld)\n", static_cast<long>(info[3]), static_cast<long>(info[4]));
    std::printf("  pixel colour             0x%06lX\n", static_cast<unsigned long>(info[5]));
    DestroyWindow(window);
    return 0;
}
