// A helper of the real-window tests under Wine, run in the same Wine session as the editor:
// it reads what X11 tools cannot see (the text of a message box, the tip a tooltip shows)
// and drops files on a window the way the shell does.
//
//   win32_probe list
//       every visible top-level window, then its children, one per line:
//       W <tab> handle <tab> class <tab> text
//       C <tab> handle <tab> control id <tab> class <tab> text <tab> x,y,w,h (screen)
//   win32_probe version FILE
//       the version resource of a program: its fixed file version, then each string of
//       the US English block, as NAME <tab> VALUE lines
//   win32_probe modules TITLE_PREFIX
//       the paths of the modules loaded by the process of the window with that title
//   win32_probe drop TITLE_PREFIX CONTROL_ID FILE...
//       posts WM_DROPFILES with the files to the child CONTROL_ID of the visible window
//       whose title starts with TITLE_PREFIX; exit 1 when there is no such window
//   win32_probe dpi TITLE_PREFIX DPI CLIENT_WIDTH CLIENT_HEIGHT
//       sends WM_DPICHANGED, as a move to a screen of that DPI does, to the visible window
//       whose title starts with TITLE_PREFIX, suggesting the window where it is with that
//       client size
//
// Output is UTF-8, with backslashes, tabs and line breaks in texts written as \\, \t and \n.

#include <windows.h>

#include <psapi.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string utf8(const std::wstring& wide) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

std::string escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c != '\r') {
            out += c;
        }
    }
    return out;
}

void print(const std::string& text) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()),
              &written, nullptr);
}

// The text as the window itself gives it: WM_GETTEXT crosses into the editor's process,
// where GetWindowText would only see a caption.
std::wstring textOf(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
        return {};
    std::vector<wchar_t> text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 2000, &copied);
    return std::wstring(text.data(), copied);
}

std::wstring classOf(HWND hwnd) {
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    return name;
}

std::string handle(HWND hwnd) {
    return std::to_string(reinterpret_cast<UINT_PTR>(hwnd));
}

BOOL CALLBACK listChild(HWND hwnd, LPARAM) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    print("C\t" + handle(hwnd) + "\t" + std::to_string(GetDlgCtrlID(hwnd)) + "\t" +
          escaped(utf8(classOf(hwnd))) + "\t" + escaped(utf8(textOf(hwnd))) + "\t" +
          std::to_string(r.left) + "," + std::to_string(r.top) + "," +
          std::to_string(r.right - r.left) + "," + std::to_string(r.bottom - r.top) + "\n");
    return TRUE;
}

BOOL CALLBACK listWindow(HWND hwnd, LPARAM) {
    if (!IsWindowVisible(hwnd)) return TRUE;
    print("W\t" + handle(hwnd) + "\t" + escaped(utf8(classOf(hwnd))) + "\t" +
          escaped(utf8(textOf(hwnd))) + "\n");
    EnumChildWindows(hwnd, listChild, 0);
    return TRUE;
}

struct Search {
    std::wstring prefix;
    int id; // of the child wanted; -1 for the window itself
    HWND found = nullptr;
};

BOOL CALLBACK findChild(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    if (GetDlgCtrlID(hwnd) != search->id) return TRUE;
    search->found = hwnd;
    return FALSE;
}

BOOL CALLBACK findWindow(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    if (!IsWindowVisible(hwnd) || textOf(hwnd).rfind(search->prefix, 0) != 0) return TRUE;
    if (search->id < 0) {
        search->found = hwnd;
        return FALSE;
    }
    EnumChildWindows(hwnd, findChild, data);
    return search->found == nullptr;
}

// The drop as the shell hands it over: a DROPFILES block with the wide names, each ended by
// a NUL and the list by another. The receiver reads it with DragQueryFile in its own address
// space, so the block is written there, in fixed memory, which serves as the HDROP as
// GlobalAlloc's fixed memory does.
int drop(const std::wstring& prefix, int id, const std::vector<std::wstring>& files) {
    Search search{prefix, id};
    EnumWindows(findWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) {
        print("no such window\n");
        return 1;
    }
    std::wstring names;
    for (const std::wstring& file : files)
        names += file + L'\0';
    names += L'\0';
    std::vector<char> block(sizeof(DROPFILES) + names.size() * sizeof(wchar_t), '\0');
    auto* header = reinterpret_cast<DROPFILES*>(block.data());
    header->pFiles = sizeof(DROPFILES);
    header->pt = POINT{8, 8};
    header->fNC = FALSE;
    header->fWide = TRUE;
    std::memcpy(block.data() + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));

    DWORD pid = 0;
    GetWindowThreadProcessId(search.found, &pid);
    const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
    void* remote = process == nullptr ? nullptr
                                      : VirtualAllocEx(process, nullptr, block.size(),
                                                       MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    const bool written = remote != nullptr &&
                         WriteProcessMemory(process, remote, block.data(), block.size(), nullptr);
    if (process != nullptr) CloseHandle(process);
    if (!written ||
        !PostMessageW(search.found, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0)) {
        print("drop failed\n");
        return 1;
    }
    return 0;
}

// The suggested rectangle is passed by address, so it is written into the receiver's memory.
int dpiChanged(const std::wstring& prefix, int dpi, int width, int height) {
    Search search{prefix, -1};
    EnumWindows(findWindow, reinterpret_cast<LPARAM>(&search));
    DWORD pid = 0;
    RECT suggested{};
    RECT client{};
    if (search.found != nullptr) {
        GetWindowThreadProcessId(search.found, &pid);
        GetWindowRect(search.found, &suggested);
        GetClientRect(search.found, &client);
        suggested.right += width - client.right;
        suggested.bottom += height - client.bottom;
    }
    const HANDLE process =
        pid == 0 ? nullptr : OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
    void* remote = process == nullptr ? nullptr
                                      : VirtualAllocEx(process, nullptr, sizeof suggested,
                                                       MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    const bool written = remote != nullptr && WriteProcessMemory(process, remote, &suggested,
                                                                 sizeof suggested, nullptr);
    if (process != nullptr) CloseHandle(process);
    DWORD_PTR result = 0;
    if (!written || !SendMessageTimeoutW(search.found, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                                         reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG,
                                         5000, &result)) {
        print("dpi change failed\n");
        return 1;
    }
    return 0;
}

int version(const std::wstring& file) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    std::vector<char> data(size);
    if (size == 0 || !GetFileVersionInfoW(file.c_str(), 0, size, data.data())) {
        print("no version\n");
        return 1;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length)) {
        print("FixedFileVersion\t" + std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
              std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
              std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
              std::to_string(LOWORD(fixed->dwFileVersionLS)) + "\n");
    }
    for (const wchar_t* name : {L"ProductName", L"ProductVersion", L"FileDescription",
                                L"FileVersion", L"OriginalFilename"}) {
        wchar_t* value = nullptr;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        if (VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length))
            print(utf8(name) + "\t" + escaped(utf8(value)) + "\n");
    }
    return 0;
}

int modules(const std::wstring& prefix) {
    Search search{prefix, -1};
    EnumWindows(findWindow, reinterpret_cast<LPARAM>(&search));
    DWORD pid = 0;
    if (search.found != nullptr) GetWindowThreadProcessId(search.found, &pid);
    const HANDLE process =
        pid == 0 ? nullptr : OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (process == nullptr) {
        print("no such process\n");
        return 1;
    }
    HMODULE loaded[1024];
    DWORD bytes = 0;
    EnumProcessModules(process, loaded, sizeof loaded, &bytes);
    for (DWORD i = 0; i < bytes / sizeof(HMODULE); ++i) {
        wchar_t name[MAX_PATH] = {};
        if (GetModuleFileNameExW(process, loaded[i], name, MAX_PATH) != 0)
            print(escaped(utf8(name)) + "\n");
    }
    CloseHandle(process);
    return 0;
}

} // namespace

int main() {
    // Window rectangles in screen pixels, not scaled down to 96 DPI as Wine reports them
    // to programs unaware of the screen's scale.
    SetProcessDPIAware();
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (args == nullptr || count < 2) return 2;
    const std::wstring command = args[1];
    if (command == L"list") {
        EnumWindows(listWindow, 0);
        return 0;
    }
    if (command == L"version" && count == 3) return version(args[2]);
    if (command == L"modules" && count == 3) return modules(args[2]);
    if (command == L"drop" && count >= 5) {
        std::vector<std::wstring> files(args + 4, args + count);
        return drop(args[2], _wtoi(args[3]), files);
    }
    if (command == L"dpi" && count == 6)
        return dpiChanged(args[2], _wtoi(args[3]), _wtoi(args[4]), _wtoi(args[5]));
    return 2;
}
