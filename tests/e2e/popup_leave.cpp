// A helper of the real-window tests under Wine, not the editor: a window with one child
// that makes the calls the editor's canvases make around a popup menu, and prints what
// the system answers, so the tests record whether Wine reports leaving the child after a
// popup.
//
// The child watches for the pointer leaving it with TrackMouseEvent(TME_LEAVE) from its
// first move on. A right button press takes the mouse (SetCapture), its release lets it go
// and, from a posted message as the editor's loop does, opens a popup menu with
// TrackPopupMenu; after the menu has closed the child watches again when the pointer is
// still over it. One line per message, written at once, each ending with the milliseconds
// since the last popup closed:
//   child X,Y,W,H    at start: the child's place on the screen
//   enter MS         the first move over the child since it was left
//   move MS          a later move
//   leave MS         WM_MOUSELEAVE
//   closed MS        the popup closed with the pointer over the child, now watched again
//   gone MS          the popup closed with the pointer elsewhere

#include <windows.h>
#include <windowsx.h>

#include <string>

namespace {

constexpr UINT ShowPopup = WM_APP;
HWND frame = nullptr;
HWND child = nullptr;
bool hovering = false;
DWORD closedAt = 0;

void print(const std::string& line) {
    DWORD written = 0;
    const std::string text = line + " " + std::to_string(GetTickCount() - closedAt) + "\n";
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()),
              &written, nullptr);
}

void trackLeave() {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = child;
    TrackMouseEvent(&track);
}

bool pointerOverChild() {
    POINT at{};
    GetCursorPos(&at);
    return WindowFromPoint(at) == child;
}

void popup() {
    const HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, L"One");
    AppendMenuW(menu, MF_STRING, 2, L"Two");
    SetForegroundWindow(frame);
    POINT at{};
    GetCursorPos(&at);
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x - 1, at.y - 1, 0,
                   frame, nullptr);
    PostMessageW(frame, WM_NULL, 0, 0);
    DestroyMenu(menu);
    closedAt = GetTickCount();
    const bool over = pointerOverChild();
    if (over) trackLeave();
    print(over ? "closed" : "gone");
}

LRESULT CALLBACK childProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE:
        if (!hovering) {
            hovering = true;
            trackLeave();
            print("enter");
        } else {
            print("move");
        }
        return 0;
    case WM_MOUSELEAVE:
        hovering = false;
        print("leave");
        return 0;
    case WM_RBUTTONDOWN:
        SetCapture(hwnd);
        return 0;
    case WM_RBUTTONUP:
        ReleaseCapture();
        if (pointerOverChild()) trackLeave();
        PostMessageW(hwnd, ShowPopup, 0, 0);
        return 0;
    case ShowPopup:
        popup();
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK frameProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

int main() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpfnWndProc = frameProcedure;
    wc.lpszClassName = L"PopupLeaveFrame";
    RegisterClassW(&wc);
    wc.lpfnWndProc = childProcedure;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOWTEXT + 1);
    wc.lpszClassName = L"PopupLeaveChild";
    RegisterClassW(&wc);
    frame = CreateWindowW(L"PopupLeaveFrame", L"Popup leave", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                          100, 100, 400, 300, nullptr, nullptr, instance, nullptr);
    child = CreateWindowW(L"PopupLeaveChild", L"", WS_CHILD | WS_VISIBLE, 50, 50, 200, 150, frame,
                          nullptr, instance, nullptr);
    RECT r{};
    GetWindowRect(child, &r);
    print("child " + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
          std::to_string(r.right - r.left) + "," + std::to_string(r.bottom - r.top));
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
