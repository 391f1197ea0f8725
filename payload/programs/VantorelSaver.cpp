// The Vantorel screen saver: stones drift over a dusk sea until the user
// moves. Windows starts it with /s to run, /c to configure and /p to preview.
#include <windows.h>

namespace {

const int stoneCount = 24;
struct Stone {
    int x, y, dx, dy, size;
    COLORREF colour;
};
Stone stones[stoneCount];
POINT firstMouse;
bool haveMouse;
unsigned seed = 0x9E3779B9u;

int nextRandom(int range) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 16) % static_cast<unsigned>(range));
}

void scatter(int width, int height) {
    for (Stone& s : stones) {
        s.size = 12 + nextRandom(36);
        s.x = nextRandom(width);
        s.y = nextRandom(height);
        s.dx = nextRandom(5) - 2;
        s.dy = 1 + nextRandom(2);
        s.colour = RGB(96 + nextRandom(64), 104 + nextRandom(64), 140 + nextRandom(100));
    }
}

void drift(HWND window) {
    RECT area;
    GetClientRect(window, &area);
    HDC dc = GetDC(window);
    HBRUSH sea = CreateSolidBrush(RGB(16, 24, 48));
    FillRect(dc, &area, sea);
    DeleteObject(sea);
    for (Stone& s : stones) {
        s.x += s.dx;
        s.y += s.dy;
        if (s.y > area.bottom) s.y = -s.size;
        if (s.x < -s.size) s.x = area.right;
        if (s.x > area.right) s.x = -s.size;
        HBRUSH brush = CreateSolidBrush(s.colour);
        HGDIOBJ old = SelectObject(dc, brush);
        Ellipse(dc, s.x, s.y, s.x + s.size, s.y + s.size);
        SelectObject(dc, old);
        DeleteObject(brush);
    }
    ReleaseDC(window, dc);
}

LRESULT CALLBACK saverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        SetTimer(window, 1, 40, nullptr);
        ShowCursor(FALSE);
        return 0;
    case WM_TIMER:
        drift(window);
        return 0;
    case WM_MOUSEMOVE: {
        // Windows sends one move when the window appears; only a real move
        // of a few pixels ends the saver.
        POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (!haveMouse) {
            firstMouse = at;
            haveMouse = true;
        } else if (at.x - firstMouse.x > 4 || firstMouse.x - at.x > 4 ||
                   at.y - firstMouse.y > 4 || firstMouse.y - at.y > 4) {
            DestroyWindow(window);
        }
        return 0;
    }
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        KillTimer(window, 1);
        ShowCursor(TRUE);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

char option(const char* commandLine) {
    for (const char* p = commandLine; *p != '\0'; ++p)
        if (*p == '/' || *p == '-') {
            char c = p[1];
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        }
    return 'c';  // started without an option, as from Explorer: configure
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    switch (option(commandLine)) {
    case 's':
        break;
    case 'p':
        return 0;  // no preview in the small display box
    default:
        MessageBoxA(nullptr, "The Vantorel screen saver has no settings.", "Vantorel",
                    MB_OK | MB_ICONINFORMATION);
        return 0;
    }

    WNDCLASSA wc = {};
    wc.lpfnWndProc = saverProc;
    wc.hInstance = instance;
    wc.lpszClassName = "VantorelSaver";
    if (!RegisterClassA(&wc)) return 1;
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    scatter(width, height);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, "VantorelSaver", "Vantorel", WS_POPUP | WS_VISIBLE,
                                  0, 0, width, height, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
