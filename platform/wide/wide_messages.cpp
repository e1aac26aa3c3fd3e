// The two directions of message conversion. The ANSI form is the one user32
// gives an ANSI window on a code page 936 system: texts in GBK, a double-byte
// character as two WM_CHAR messages (lead byte first), WM_IME_CHAR with the
// lead byte in the high byte, edit positions and the length limit in bytes.
#define DROPEDIT_WIDE_LAYER
#include "platform/wide/wide_messages.h"

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/gbk_codec.h"
#include "platform/wide/wide_text.h"

namespace wide {
namespace {

// ---- State kept per window ------------------------------------------------
//
// A lead byte sent on its own waits here for its trail byte (the next
// character message to the same window); edit controls with a length limit
// keep it in bytes here, because the control itself counts UTF-16 units.
// Both are forgotten when the window goes (WM_NCDESTROY through a thunk).

struct PendingLead {
    HWND hwnd;
    UINT message;
    uint8_t lead;
};
PendingLead g_pending = {nullptr, 0, 0};
std::map<HWND, size_t> g_byteLimits;

void Forget(HWND hwnd) {
    if (g_pending.hwnd == hwnd) g_pending = {nullptr, 0, 0};
    g_byteLimits.erase(hwnd);
}

// ---- Characters -------------------------------------------------------------

uint16_t DecodeBytes(const char* bytes, size_t length) {
    uint16_t unit = 0;
    gbk::ToUtf16(bytes, length, &unit, 1);
    return unit;
}

// A character value in ANSI form: one byte, or a pair with the lead byte in
// the high byte.
uint16_t CharValueToUnit(WPARAM value) {
    char bytes[2] = {static_cast<char>((value >> 8) & 0xFF), static_cast<char>(value & 0xFF)};
    if (value <= 0xFF) return DecodeBytes(bytes + 1, 1);
    return DecodeBytes(bytes, 2);
}

WPARAM UnitToCharValue(uint16_t unit) {
    char bytes[2] = {0, 0};
    size_t length = gbk::FromUtf16(&unit, 1, bytes, 2);
    uint8_t first = static_cast<uint8_t>(bytes[0]);
    return length == 2 ? (static_cast<WPARAM>(first) << 8) | static_cast<uint8_t>(bytes[1]) : first;
}

// The UTF-16 unit of a character message in ANSI form; false while a lead
// byte waits for its trail byte.
bool CharMessageUnit(HWND hwnd, UINT message, WPARAM wParam, uint16_t* unit) {
    if (wParam > 0xFF) {
        *unit = CharValueToUnit(wParam);
        return true;
    }
    char bytes[2] = {0, static_cast<char>(wParam)};
    if (g_pending.hwnd == hwnd && g_pending.message == message) {
        bytes[0] = static_cast<char>(g_pending.lead);
        g_pending = {nullptr, 0, 0};
        *unit = DecodeBytes(bytes, 2);
        return true;
    }
    g_pending = {nullptr, 0, 0};
    if (gbk::IsLeadByte(static_cast<uint8_t>(wParam))) {
        g_pending = {hwnd, message, static_cast<uint8_t>(wParam)};
        return false;
    }
    *unit = DecodeBytes(bytes + 1, 1);
    return true;
}

// ---- Receivers ----------------------------------------------------------------

LRESULT Deliver(WideReceiver receiver, WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam,
                LPARAM lParam) {
    switch (receiver) {
        case WideReceiver::kWindow:
            return SendMessageW(hwnd, message, wParam, lParam);
        case WideReceiver::kDefault:
            return DefWindowProcW(hwnd, message, wParam, lParam);
        case WideReceiver::kProcedure:
            break;
    }
    return CallWindowProcW(proc, hwnd, message, wParam, lParam);
}

// The text as the receiver itself holds it (an edit control's own buffer,
// not what a procedure above it would say).
std::wstring ReceiverText(WideReceiver receiver, WNDPROC proc, HWND hwnd) {
    LRESULT length = Deliver(receiver, proc, hwnd, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return std::wstring();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = Deliver(receiver, proc, hwnd, WM_GETTEXT, static_cast<WPARAM>(length) + 1,
                             reinterpret_cast<LPARAM>(&text[0]));
    if (copied < 0) copied = 0;
    if (copied > length) copied = length;
    text.resize(static_cast<size_t>(copied));
    return text;
}

DWORD BytePosition(const std::wstring& text, DWORD unitPosition) {
    size_t units = unitPosition < text.size() ? unitPosition : text.size();
    return static_cast<DWORD>(NarrowLength(text.data(), units));
}

DWORD UnitPosition(const std::wstring& text, DWORD bytePosition) {
    return static_cast<DWORD>(gbk::UnitsInBytes(reinterpret_cast<const uint16_t*>(text.data()),
                                                text.size(), bytePosition));
}

// An EM_SETSEL end: a negative one (all, or none) passes unchanged.
WPARAM SelectionEnd(WPARAM value, const std::wstring& text, bool toUnits) {
    if (static_cast<int>(value) < 0) return value;
    DWORD position = static_cast<DWORD>(value);
    return toUnits ? UnitPosition(text, position) : BytePosition(text, position);
}

// ---- The edit control's length limit in bytes ---------------------------

void NotifyMaxText(HWND hwnd) {
    HWND parent = GetParent(hwnd);
    if (parent == nullptr) return;
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), EN_MAXTEXT),
                 reinterpret_cast<LPARAM>(hwnd));
}

// Bytes the control may still take in place of its selection; false when it
// has no limit of ours.
bool RoomInBytes(WideReceiver receiver, WNDPROC proc, HWND hwnd, size_t* room) {
    auto limit = g_byteLimits.find(hwnd);
    if (limit == g_byteLimits.end()) return false;
    std::wstring text = ReceiverText(receiver, proc, hwnd);
    DWORD start = 0;
    DWORD end = 0;
    Deliver(receiver, proc, hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
            reinterpret_cast<LPARAM>(&end));
    if (start > end) std::swap(start, end);
    size_t total = NarrowLength(text.data(), text.size());
    size_t selected = BytePosition(text, end) - BytePosition(text, start);
    size_t keep = total - selected;
    *room = limit->second > keep ? limit->second - keep : 0;
    return true;
}

// A typed character the limit refuses (control characters never are).
bool LimitRefuses(WideReceiver receiver, WNDPROC proc, HWND hwnd, uint16_t unit) {
    if (receiver == WideReceiver::kDefault || unit < 0x20) return false;
    size_t room = 0;
    if (!RoomInBytes(receiver, proc, hwnd, &room)) return false;
    if (gbk::EncodedLength(&unit, 1) <= room) return false;
    NotifyMaxText(hwnd);
    return true;
}

// Cuts a replacement text to the limit at a character boundary.
void LimitReplacement(WideReceiver receiver, WNDPROC proc, HWND hwnd, std::string* text) {
    size_t room = 0;
    if (receiver == WideReceiver::kDefault || !RoomInBytes(receiver, proc, hwnd, &room)) return;
    if (text->size() <= room) return;
    size_t keep = 0;
    while (keep < text->size()) {
        size_t width =
            gbk::IsLeadByte(static_cast<uint8_t>((*text)[keep])) && keep + 1 < text->size() ? 2 : 1;
        if (keep + width > room) break;
        keep += width;
    }
    text->resize(keep);
    NotifyMaxText(hwnd);
}

// The clipboard's text as GBK, cut at the first line break for a
// single-line control as the control's own paste does; false without one.
bool ClipboardText(HWND hwnd, std::string* text) {
    if (!OpenClipboard(hwnd)) return false;
    bool found = false;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const wchar_t* units = static_cast<const wchar_t*>(GlobalLock(data))) {
            std::wstring copy(units);
            GlobalUnlock(data);
            if (!(GetWindowLongW(hwnd, GWL_STYLE) & ES_MULTILINE)) {
                size_t lineEnd = copy.find_first_of(L"\r\n");
                if (lineEnd != std::wstring::npos) copy.resize(lineEnd);
            }
            *text = Narrow(copy);
            found = true;
        }
    }
    CloseClipboard();
    return found;
}

// ---- The creation record ----------------------------------------------------

template <typename To, typename From>
void CopyCreateFields(To* to, const From& from) {
    to->lpCreateParams = from.lpCreateParams;
    to->hInstance = from.hInstance;
    to->hMenu = from.hMenu;
    to->hwndParent = from.hwndParent;
    to->cy = from.cy;
    to->cx = from.cx;
    to->y = from.y;
    to->x = from.x;
    to->style = from.style;
    to->dwExStyle = from.dwExStyle;
}

}  // namespace

LRESULT CallAsWide(WideReceiver receiver, WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam,
                   LPARAM lParam) {
    switch (message) {
        case WM_SETTEXT: {
            if (lParam == 0) break;
            std::wstring text = Widen(reinterpret_cast<const char*>(lParam));
            return Deliver(receiver, proc, hwnd, message, wParam,
                           reinterpret_cast<LPARAM>(text.c_str()));
        }
        case WM_GETTEXT: {
            if (wParam == 0 || lParam == 0) break;
            std::vector<wchar_t> units(wParam, L'\0');
            LRESULT copied = Deliver(receiver, proc, hwnd, message, wParam,
                                     reinterpret_cast<LPARAM>(units.data()));
            if (copied < 0) copied = 0;
            if (static_cast<WPARAM>(copied) >= wParam) copied = static_cast<LRESULT>(wParam) - 1;
            return static_cast<LRESULT>(CopyNarrow(units.data(), static_cast<size_t>(copied),
                                                   reinterpret_cast<char*>(lParam), wParam));
        }
        case WM_GETTEXTLENGTH: {
            std::wstring text = ReceiverText(receiver, proc, hwnd);
            return static_cast<LRESULT>(NarrowLength(text.data(), text.size()));
        }
        case WM_NCCREATE:
        case WM_CREATE: {
            if (lParam == 0) break;
            auto* ansi = reinterpret_cast<CREATESTRUCTA*>(lParam);
            WideName name(ansi->lpszName);
            WideName className(ansi->lpszClass);
            CREATESTRUCTW record;
            CopyCreateFields(&record, *ansi);
            record.lpszName = name.get();
            record.lpszClass = className.get();
            LRESULT answer =
                Deliver(receiver, proc, hwnd, message, wParam, reinterpret_cast<LPARAM>(&record));
            CopyCreateFields(ansi, record);
            return answer;
        }
        case WM_CHAR:
        case WM_SYSCHAR:
        case WM_DEADCHAR:
        case WM_SYSDEADCHAR: {
            uint16_t unit = 0;
            if (!CharMessageUnit(hwnd, message, wParam, &unit)) return 0;
            if (message == WM_CHAR && LimitRefuses(receiver, proc, hwnd, unit)) return 0;
            return Deliver(receiver, proc, hwnd, message, unit, lParam);
        }
        case WM_IME_CHAR:
            return Deliver(receiver, proc, hwnd, message, CharValueToUnit(wParam), lParam);
        case EM_REPLACESEL: {
            std::string insert = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
            LimitReplacement(receiver, proc, hwnd, &insert);
            std::wstring text = Widen(insert.c_str(), insert.size());
            return Deliver(receiver, proc, hwnd, message, wParam,
                           reinterpret_cast<LPARAM>(text.c_str()));
        }
        case WM_PASTE: {
            // With a limit in bytes the paste is a replacement of the
            // selection that the limit cuts, as typing is.
            if (receiver == WideReceiver::kDefault || g_byteLimits.count(hwnd) == 0 ||
                (GetWindowLongW(hwnd, GWL_STYLE) & ES_READONLY))
                break;
            std::string text;
            if (!ClipboardText(hwnd, &text)) return 0;
            return CallAsWide(receiver, proc, hwnd, EM_REPLACESEL, TRUE,
                              reinterpret_cast<LPARAM>(text.c_str()));
        }
        case EM_GETLINE: {
            if (lParam == 0) break;
            WORD size = 0;
            std::memcpy(&size, reinterpret_cast<void*>(lParam), sizeof size);
            if (size == 0) return 0;
            std::vector<wchar_t> units(size < 2 ? 2 : size, L'\0');
            units[0] = static_cast<wchar_t>(size);
            LRESULT copied = Deliver(receiver, proc, hwnd, message, wParam,
                                     reinterpret_cast<LPARAM>(units.data()));
            if (copied <= 0) return 0;
            if (copied > size) copied = size;
            size_t written = 0;
            gbk::FromUtf16(reinterpret_cast<const uint16_t*>(units.data()),
                           static_cast<size_t>(copied), reinterpret_cast<char*>(lParam), size,
                           &written);
            return static_cast<LRESULT>(written);  // EM_GETLINE adds no zero
        }
        case EM_GETSEL: {
            DWORD start = 0;
            DWORD end = 0;
            Deliver(receiver, proc, hwnd, message, reinterpret_cast<WPARAM>(&start),
                    reinterpret_cast<LPARAM>(&end));
            std::wstring text = ReceiverText(receiver, proc, hwnd);
            start = BytePosition(text, start);
            end = BytePosition(text, end);
            if (wParam != 0) *reinterpret_cast<DWORD*>(wParam) = start;
            if (lParam != 0) *reinterpret_cast<DWORD*>(lParam) = end;
            return (start > 0xFFFF || end > 0xFFFF) ? -1
                                                    : static_cast<LRESULT>(MAKELONG(start, end));
        }
        case EM_SETSEL: {
            std::wstring text = ReceiverText(receiver, proc, hwnd);
            return Deliver(
                receiver, proc, hwnd, message, SelectionEnd(wParam, text, true),
                static_cast<LPARAM>(SelectionEnd(static_cast<WPARAM>(lParam), text, true)));
        }
        case EM_LIMITTEXT:
            // 0 asks for the control's largest limit: no limit of ours.
            if (wParam == 0) {
                g_byteLimits.erase(hwnd);
            } else {
                g_byteLimits[hwnd] = wParam;
            }
            break;
        case EM_GETLIMITTEXT: {
            auto limit = g_byteLimits.find(hwnd);
            if (limit != g_byteLimits.end()) return static_cast<LRESULT>(limit->second);
            break;
        }
        case EM_SETPASSWORDCHAR:
            return Deliver(receiver, proc, hwnd, message, CharValueToUnit(wParam), lParam);
        case EM_GETPASSWORDCHAR:
            return static_cast<LRESULT>(UnitToCharValue(
                static_cast<uint16_t>(Deliver(receiver, proc, hwnd, message, wParam, lParam))));
        default:
            break;
    }
    return Deliver(receiver, proc, hwnd, message, wParam, lParam);
}

LRESULT CallGbkProc(WNDPROC gbkProc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETTEXT: {
            if (lParam == 0) break;
            std::string text = Narrow(std::wstring(reinterpret_cast<const wchar_t*>(lParam)));
            return gbkProc(hwnd, message, wParam, reinterpret_cast<LPARAM>(text.c_str()));
        }
        case WM_GETTEXT: {
            if (wParam == 0 || lParam == 0) break;
            // Two bytes a unit is room for whatever fits the caller's units.
            std::vector<char> bytes(2 * wParam, '\0');
            LRESULT copied =
                gbkProc(hwnd, message, bytes.size(), reinterpret_cast<LPARAM>(bytes.data()));
            if (copied < 0) copied = 0;
            if (static_cast<size_t>(copied) >= bytes.size())
                copied = static_cast<LRESULT>(bytes.size()) - 1;
            return static_cast<LRESULT>(CopyWide(bytes.data(), static_cast<size_t>(copied),
                                                 reinterpret_cast<wchar_t*>(lParam), wParam));
        }
        case WM_GETTEXTLENGTH: {
            LRESULT length = gbkProc(hwnd, message, wParam, lParam);
            if (length <= 0) return length;
            std::vector<char> bytes(static_cast<size_t>(length) + 1, '\0');
            LRESULT copied =
                gbkProc(hwnd, WM_GETTEXT, bytes.size(), reinterpret_cast<LPARAM>(bytes.data()));
            if (copied <= 0) return 0;
            if (copied > length) copied = length;
            return static_cast<LRESULT>(
                gbk::ToUtf16(bytes.data(), static_cast<size_t>(copied), nullptr, 0));
        }
        case WM_NCCREATE:
        case WM_CREATE: {
            if (lParam == 0) break;
            auto* record = reinterpret_cast<CREATESTRUCTW*>(lParam);
            bool nameIsNumber = IS_INTRESOURCE(record->lpszName);
            bool classIsNumber = IS_INTRESOURCE(record->lpszClass);
            std::string name =
                nameIsNumber ? std::string() : Narrow(std::wstring(record->lpszName));
            std::string className =
                classIsNumber ? std::string() : Narrow(std::wstring(record->lpszClass));
            CREATESTRUCTA ansi;
            CopyCreateFields(&ansi, *record);
            ansi.lpszName =
                nameIsNumber ? reinterpret_cast<LPCSTR>(record->lpszName) : name.c_str();
            ansi.lpszClass =
                classIsNumber ? reinterpret_cast<LPCSTR>(record->lpszClass) : className.c_str();
            LRESULT answer = gbkProc(hwnd, message, wParam, reinterpret_cast<LPARAM>(&ansi));
            CopyCreateFields(record, ansi);
            return answer;
        }
        case WM_CHAR:
        case WM_SYSCHAR:
        case WM_DEADCHAR:
        case WM_SYSDEADCHAR: {
            uint16_t unit = static_cast<uint16_t>(wParam);
            char bytes[2] = {0, 0};
            size_t length = gbk::FromUtf16(&unit, 1, bytes, 2);
            LRESULT answer = gbkProc(hwnd, message, static_cast<uint8_t>(bytes[0]), lParam);
            if (length == 2 && IsWindow(hwnd))
                answer = gbkProc(hwnd, message, static_cast<uint8_t>(bytes[1]), lParam);
            return answer;
        }
        case WM_IME_CHAR:
            return gbkProc(hwnd, message, UnitToCharValue(static_cast<uint16_t>(wParam)), lParam);
        case EM_REPLACESEL: {
            if (lParam == 0) break;
            std::string text = Narrow(std::wstring(reinterpret_cast<const wchar_t*>(lParam)));
            return gbkProc(hwnd, message, wParam, reinterpret_cast<LPARAM>(text.c_str()));
        }
        case EM_GETLINE: {
            if (lParam == 0) break;
            WORD size = 0;
            std::memcpy(&size, reinterpret_cast<void*>(lParam), sizeof size);
            if (size == 0) return 0;
            size_t room =
                2 * static_cast<size_t>(size) > 0xFFFF ? 0xFFFF : 2 * static_cast<size_t>(size);
            std::vector<char> bytes(room, '\0');
            WORD roomWord = static_cast<WORD>(room);
            std::memcpy(bytes.data(), &roomWord, sizeof roomWord);
            LRESULT copied = gbkProc(hwnd, message, wParam, reinterpret_cast<LPARAM>(bytes.data()));
            if (copied <= 0) return 0;
            if (static_cast<size_t>(copied) > room) copied = static_cast<LRESULT>(room);
            size_t units = gbk::ToUtf16(bytes.data(), static_cast<size_t>(copied),
                                        reinterpret_cast<uint16_t*>(lParam), size);
            return static_cast<LRESULT>(units < size ? units : size);
        }
        case EM_GETSEL: {
            DWORD start = 0;
            DWORD end = 0;
            gbkProc(hwnd, message, reinterpret_cast<WPARAM>(&start),
                    reinterpret_cast<LPARAM>(&end));
            std::wstring text = WindowTextW(hwnd);
            start = UnitPosition(text, start);
            end = UnitPosition(text, end);
            if (wParam != 0) *reinterpret_cast<DWORD*>(wParam) = start;
            if (lParam != 0) *reinterpret_cast<DWORD*>(lParam) = end;
            return (start > 0xFFFF || end > 0xFFFF) ? -1
                                                    : static_cast<LRESULT>(MAKELONG(start, end));
        }
        case EM_SETSEL: {
            std::wstring text = WindowTextW(hwnd);
            return gbkProc(
                hwnd, message, SelectionEnd(wParam, text, false),
                static_cast<LPARAM>(SelectionEnd(static_cast<WPARAM>(lParam), text, false)));
        }
        case EM_SETPASSWORDCHAR:
            return gbkProc(hwnd, message, UnitToCharValue(static_cast<uint16_t>(wParam)), lParam);
        case EM_GETPASSWORDCHAR:
            return static_cast<LRESULT>(
                CharValueToUnit(static_cast<WPARAM>(gbkProc(hwnd, message, wParam, lParam))));
        case WM_NCDESTROY: {
            LRESULT answer = gbkProc(hwnd, message, wParam, lParam);
            Forget(hwnd);
            return answer;
        }
        default:
            break;
    }
    return gbkProc(hwnd, message, wParam, lParam);
}

}  // namespace wide
