// windump: prints every top-level window of the processes whose program file
// is named by the first argument (e.g. dropedit.exe), and their children, as
// JSON lines, so the Windows end-to-end suite can read the program's state
// through Win32 itself. Texts come through WM_GETTEXT (GetWindowText cannot
// read another process's controls) and are written as UTF-8.
#include <windows.h>
#include <psapi.h>
#include <wctype.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Utf8(const wchar_t* text, int length) {
    if (length <= 0) return std::string();
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, &out[0], bytes, nullptr, nullptr);
    return out;
}

std::string Json(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
            out += buffer;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return std::string();
    std::vector<wchar_t> buffer(length + 2);
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                             SMTO_ABORTIFHUNG, 2000, &copied))
        return std::string();
    return Utf8(buffer.data(), static_cast<int>(copied));
}

std::string ClassOf(HWND window) {
    wchar_t name[256];
    int length = GetClassNameW(window, name, 256);
    return Utf8(name, length);
}

// Where the window's process loaded comctl32.dll from (each copy, lower
// case, separated by ";"): the
// system folder's copy is version 5, the side-by-side store's (winsxs)
// version 6, which only a manifest asking for it brings in.
std::string CommonControlsOf(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process);
    if (h == nullptr) return std::string();
    HMODULE modules[512];
    DWORD bytes = 0;
    std::string found;
    if (EnumProcessModules(h, modules, sizeof modules, &bytes)) {
        for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 512; ++i) {
            wchar_t path[MAX_PATH];
            DWORD length = GetModuleFileNameExW(h, modules[i], path, MAX_PATH);
            for (DWORD k = 0; k < length; ++k) path[k] = static_cast<wchar_t>(towlower(path[k]));
            std::string name = Utf8(path, static_cast<int>(length));
            if (name.size() >= 12 && name.compare(name.size() - 12, 12, "comctl32.dll") == 0)
                found += (found.empty() ? "" : ";") + name;
        }
    }
    CloseHandle(h);
    return found;
}

// The fields every window has; the rectangle is in screen coordinates, so a
// test can point the mouse at it.
std::string Fields(HWND window, HWND focus) {
    RECT r;
    GetWindowRect(window, &r);
    char numbers[160];
    std::snprintf(numbers, sizeof numbers, "\"x\":%ld,\"y\":%ld,\"w\":%ld,\"h\":%ld", r.left, r.top, r.right - r.left,
                  r.bottom - r.top);
    std::string out = "\"class\":" + Json(ClassOf(window)) + ",\"text\":" + Json(TextOf(window)) + "," + numbers;
    out += std::string(",\"visible\":") + (IsWindowVisible(window) ? "true" : "false");
    out += std::string(",\"enabled\":") + (IsWindowEnabled(window) ? "true" : "false");
    out += std::string(",\"focused\":") + (window == focus ? "true" : "false");
    return out;
}

struct Scan {
    std::vector<DWORD> processes;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
    return TRUE;
}

BOOL CALLBACK CollectTop(HWND window, LPARAM param) {
    Scan* scan = reinterpret_cast<Scan*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    for (DWORD p : scan->processes)
        if (p == process) scan->windows.push_back(window);
    return TRUE;
}

// Processes by program file name, found through the windows' owners and
// compared without case.
struct ProcessSearch {
    const wchar_t* name;
    std::vector<DWORD> found;
};

BOOL CALLBACK MatchProcess(HWND window, LPARAM param) {
    ProcessSearch* search = reinterpret_cast<ProcessSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    for (DWORD known : search->found)
        if (known == process) return TRUE;
    HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
    if (h == nullptr) return TRUE;
    wchar_t path[MAX_PATH];
    DWORD size = MAX_PATH;
    if (QueryFullProcessImageNameW(h, 0, path, &size)) {
        const wchar_t* base = path;
        for (const wchar_t* p = path; *p; ++p)
            if (*p == L'\\' || *p == L'/') base = p + 1;
        if (lstrcmpiW(base, search->name) == 0) search->found.push_back(process);
    }
    CloseHandle(h);
    return TRUE;
}

std::vector<DWORD> ProcessesNamed(const wchar_t* name) {
    ProcessSearch search = {name, {}};
    EnumWindows(&MatchProcess, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Dump(const wchar_t* program) {
    Scan scan;
    scan.processes = ProcessesNamed(program);
    EnumWindows(&CollectTop, reinterpret_cast<LPARAM>(&scan));
    for (HWND window : scan.windows) {
        DWORD thread = GetWindowThreadProcessId(window, nullptr);
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        HWND focus = GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
        HWND active = GetGUIThreadInfo(thread, &info) ? info.hwndActive : nullptr;
        std::string line = "{" + Fields(window, focus);
        line += std::string(",\"active\":") + (window == active ? "true" : "false");
        line += ",\"comctl32\":" + Json(CommonControlsOf(window));
        line += ",\"controls\":[";
        std::vector<HWND> children;
        EnumChildWindows(window, &CollectChild, reinterpret_cast<LPARAM>(&children));
        bool first = true;
        for (HWND child : children) {
            if (!first) line += ",";
            first = false;
            line += "{\"id\":" + std::to_string(GetDlgCtrlID(child)) + "," + Fields(child, focus) + "}";
        }
        line += "]}";
        std::printf("%s\n", line.c_str());
    }
}

std::wstring Wide(const std::string& utf8) {
    int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(units, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &out[0], units);
    return out;
}

// "measure HEIGHT WEIGHT FACE TEXT" (tab-separated, UTF-8): the pixel size
// of the text in that font on the screen, as "W H", so the suite can check
// that a control's caption fits the control at the display's scale.
void Measure(const std::string& request) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t tab; (tab = request.find('\t', start)) != std::string::npos; start = tab + 1)
        fields.push_back(request.substr(start, tab - start));
    fields.push_back(request.substr(start));
    if (fields.size() != 5) {
        std::printf("0 0\n");
        return;
    }
    std::wstring face = Wide(fields[3]);
    std::wstring text = Wide(fields[4]);
    HFONT font = CreateFontW(std::atoi(fields[1].c_str()), 0, 0, 0, std::atoi(fields[2].c_str()), FALSE, FALSE,
                             FALSE, GB2312_CHARSET, 0, 0, 0, 0, face.c_str());
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size = {0, 0};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    std::printf("%ld %ld\n", size.cx, size.cy);
}

}  // namespace

// With --serve, one dump for each line read from standard input, each ended
// by an "end" line: starting a Win32 process is slow under emulation, so the
// suite keeps one running.
int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: windump PROGRAM.exe [--serve]\n");
        return 2;
    }
    // Rectangles in the display's pixels, whatever its scale: an unaware
    // reader would be handed the program's windows scaled back to 96 DPI.
    SetProcessDPIAware();
    if (argc < 3 || lstrcmpW(argv[2], L"--serve") != 0) {
        Dump(argv[1]);
        return 0;
    }
    char line[1024];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        std::string request = line;
        while (!request.empty() && (request.back() == '\n' || request.back() == '\r')) request.pop_back();
        if (request.compare(0, 8, "measure\t") == 0) {
            Measure(request);
        } else {
            Dump(argv[1]);
        }
        std::printf("end\n");
        std::fflush(stdout);
    }
    return 0;
}
