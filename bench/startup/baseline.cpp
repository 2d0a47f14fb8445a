// The yardstick for the program's start-up: the cheapest window of the main window's size
// and styles, centred the same way, with a message loop and nothing else (no menu, no
// controls, no skin, no settings), so launch_probe's figures for it are what any Win32
// window costs here.
#include <windows.h>

namespace {

constexpr char kBaselineClass[] = "VelmoraBaselineWindow";
constexpr char kBaselineTitle[] = "Velmora start-up baseline";
constexpr int kOuterWidth = 491;
constexpr int kOuterHeight = 319;
constexpr DWORD kMainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

LRESULT CALLBACK BaselineProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = BaselineProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kBaselineClass;
    if (!RegisterClassA(&windowClass)) return 1;

    const int left = (GetSystemMetrics(SM_CXSCREEN) - kOuterWidth) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - kOuterHeight) / 2;
    HWND window = CreateWindowExA(0, kBaselineClass, kBaselineTitle, kMainWindowStyle, left, top, kOuterWidth,
                                  kOuterHeight, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_SHOW);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
