// Vantorel: slide the stone across the isle until it rests on the beacon.
// A stone slides until it meets rock or the edge of the isle; the arrow keys
// push it, Escape starts the isle again, F1 opens the help.
#include <windows.h>
#include <shellapi.h>

namespace {

const int cols = 12;
const int rows = 9;
const int cell = 40;

// '#' rock, '.' water-worn floor, 'S' stone, 'B' beacon. The first isle of
// Isles.lvl; the full game reads the others from data\levels.
const char startIsle[rows][cols + 1] = {
    "############",
    "#S...#.....#",
    "#....#..#..#",
    "#.#.....#..#",
    "#.#..####..#",
    "#..........#",
    "#####..#...#",
    "#.....B#...#",
    "############",
};

char isle[rows][cols + 1];
int stoneX, stoneY, moves;
bool solved;

void startOver() {
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x <= cols; ++x) {
            isle[y][x] = startIsle[y][x];
            if (isle[y][x] == 'S') {
                stoneX = x;
                stoneY = y;
                isle[y][x] = '.';
            }
        }
    moves = 0;
    solved = false;
}

void push(int dx, int dy) {
    if (solved) return;
    int x = stoneX, y = stoneY;
    while (isle[y + dy][x + dx] != '#') {
        x += dx;
        y += dy;
        if (isle[y][x] == 'B') break;  // the beacon holds the stone
    }
    if (x == stoneX && y == stoneY) {
        MessageBeep(MB_OK);
        return;
    }
    stoneX = x;
    stoneY = y;
    ++moves;
    solved = isle[y][x] == 'B';
}

void paint(HDC dc) {
    HBRUSH rock = CreateSolidBrush(RGB(92, 84, 72));
    HBRUSH floor = CreateSolidBrush(RGB(176, 206, 214));
    HBRUSH beacon = CreateSolidBrush(RGB(240, 196, 64));
    HBRUSH stone = CreateSolidBrush(RGB(64, 96, 160));
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cols; ++x) {
            RECT r = {x * cell, y * cell, (x + 1) * cell, (y + 1) * cell};
            FillRect(dc, &r, isle[y][x] == '#' ? rock : isle[y][x] == 'B' ? beacon : floor);
        }
    HGDIOBJ old = SelectObject(dc, stone);
    Ellipse(dc, stoneX * cell + 4, stoneY * cell + 4, (stoneX + 1) * cell - 4,
            (stoneY + 1) * cell - 4);
    SelectObject(dc, old);
    char status[64];
    wsprintfA(status, solved ? "Isle solved in %d moves. Escape plays again." : "Moves: %d",
              moves);
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, 8, rows * cell + 6, status, lstrlenA(status));
    DeleteObject(rock);
    DeleteObject(floor);
    DeleteObject(beacon);
    DeleteObject(stone);
}

void openHelp(HWND window) {
    // The help lies next to the program, wherever the user installed it.
    char path[MAX_PATH + 32];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    char* slash = path + n;
    while (slash > path && slash[-1] != '\\') --slash;
    lstrcpyA(slash, "doc\\Vantorel.html");
    ShellExecuteA(window, "open", path, nullptr, nullptr, SW_SHOWNORMAL);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_LEFT: push(-1, 0); break;
        case VK_RIGHT: push(1, 0); break;
        case VK_UP: push(0, -1); break;
        case VK_DOWN: push(0, 1); break;
        case VK_ESCAPE: startOver(); break;
        case VK_F1: openHelp(window); return 0;
        default: return 0;
        }
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        paint(dc);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "VantorelIsle";
    if (!RegisterClassA(&wc)) return 1;

    RECT frame = {0, 0, cols * cell, rows * cell + 28};
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    AdjustWindowRect(&frame, style, FALSE);
    HWND window = CreateWindowA("VantorelIsle", "Vantorel v0.94a", style, CW_USEDEFAULT,
                                CW_USEDEFAULT, frame.right - frame.left,
                                frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    startOver();
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
