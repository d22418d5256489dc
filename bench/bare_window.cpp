// The least a Win32 program does to show a window of the main window's size (296 x 235, centred,
// fixed frame): register a class, create, show, run the message loop. Esc or close ends it.
// With the argument "dialog" it also opens the system's Save dialog once, as a backup does: the
// baseline for what that dialog alone adds to a process's working set.
#include <windows.h>
#include <commdlg.h>
#include <cstring>

static const UINT kOpenDialog = WM_APP + 1;

static LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) DestroyWindow(window);
        return 0;
    case kOpenDialog: {
        char name[MAX_PATH] = "bare.qq";
        OPENFILENAMEA dialog = {};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = window;
        dialog.lpstrFilter = "QQ\0*.qq\0";
        dialog.lpstrFile = name;
        dialog.nMaxFile = MAX_PATH;
        dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;
        // Loaded only here, so that the plain start-up baseline stays without it.
        using SaveDialog = BOOL(WINAPI*)(OPENFILENAMEA*);
        if (HMODULE library = LoadLibraryA("comdlg32.dll")) {
            if (auto save = reinterpret_cast<SaveDialog>(GetProcAddress(library, "GetSaveFileNameA"))) save(&dialog);
        }
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = BareWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "BenchBareWindow";
    if (!RegisterClassA(&windowClass)) return 1;

    const int width = 296, height = 235;
    int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    HWND window = CreateWindowExA(0, "BenchBareWindow", "bench-bare-window",
                                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, left, top, width,
                                  height, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, show);
    UpdateWindow(window);
    if (std::strstr(commandLine, "dialog")) PostMessageA(window, kOpenDialog, 0, 0);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
