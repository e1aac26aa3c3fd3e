// gdi32 objects: fonts, brushes, pens, icons and device contexts in one
// handle table, the stock objects, the system colours and text measuring.
#include "platform/desk/gdi32/gdi.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "platform/desk/gdi32/paint_record.h"

namespace desk {
namespace {

enum Kind { kFont, kBrush, kPen, kIcon, kDC };

struct DcState {
    HWND window;  // the window drawn on, or null for the screen
    HFONT font;
    HBRUSH brush;
    HPEN pen;
    COLORREF textColor;
    COLORREF bkColor;
    int bkMode;
};

struct GdiObject {
    Kind kind;
    bool stock;         // never deleted
    LOGFONTA font;      // kFont
    LOGBRUSH brush;     // kBrush
    COLORREF penColor;  // kPen
    bool isIcon;        // kIcon: icon (true) or cursor
    DcState dc;         // kDC
};

std::map<uintptr_t, GdiObject>& Objects() {
    static std::map<uintptr_t, GdiObject> objects;
    return objects;
}

uintptr_t g_nextGdi = 0x30000;

void* Add(const GdiObject& object) {
    uintptr_t handle = g_nextGdi;
    g_nextGdi += 4;
    Objects()[handle] = object;
    return reinterpret_cast<void*>(handle);
}

GdiObject* Get(const void* handle) {
    auto it = Objects().find(reinterpret_cast<uintptr_t>(handle));
    return it == Objects().end() ? nullptr : &it->second;
}

GdiObject MakeFont(const LOGFONTA& lf, bool stock) {
    GdiObject o = {};
    o.kind = kFont;
    o.stock = stock;
    o.font = lf;
    return o;
}

LOGFONTA StockFont(const char* face, LONG height, BYTE charset) {
    LOGFONTA lf = {};
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = charset;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

COLORREF kSysColors[31] = {
    RGB(200, 200, 200), RGB(0, 0, 0),       RGB(153, 180, 209), RGB(191, 205, 219),
    RGB(240, 240, 240), RGB(255, 255, 255), RGB(100, 100, 100), RGB(0, 0, 0),
    RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(180, 180, 180), RGB(244, 247, 252),
    RGB(171, 171, 171), RGB(51, 153, 255),  RGB(255, 255, 255), RGB(240, 240, 240),
    RGB(160, 160, 160), RGB(109, 109, 109), RGB(0, 0, 0),       RGB(67, 78, 84),
    RGB(255, 255, 255), RGB(105, 105, 105), RGB(227, 227, 227), RGB(0, 0, 0),
    RGB(255, 255, 225), RGB(181, 181, 181), RGB(0, 102, 204),   RGB(185, 209, 234),
    RGB(215, 228, 242), RGB(51, 153, 255),  RGB(240, 240, 240)};

// The stock objects, made on first use; index by GetStockObject number.
void* Stock(int index) {
    static void* stock[18] = {};
    if (index < 0 || index >= 18 || index == 9 || index == 15) return nullptr;
    if (stock[index] != nullptr) return stock[index];
    GdiObject o = {};
    o.stock = true;
    if (index <= NULL_BRUSH) {
        static const COLORREF kGrays[] = {RGB(255, 255, 255), RGB(192, 192, 192),
                                          RGB(128, 128, 128), RGB(64, 64, 64),
                                          RGB(0, 0, 0),       0};
        o.kind = kBrush;
        o.brush =
            LOGBRUSH{index == NULL_BRUSH ? static_cast<UINT>(BS_NULL) : static_cast<UINT>(BS_SOLID),
                     kGrays[index], 0};
    } else if (index <= NULL_PEN) {
        o.kind = kPen;
        o.penColor = index == WHITE_PEN ? RGB(255, 255, 255) : 0;
    } else if (index == SYSTEM_FONT || index == SYSTEM_FIXED_FONT || index == OEM_FIXED_FONT) {
        o = MakeFont(StockFont(index == SYSTEM_FONT ? "System" : "Terminal", 16, GB2312_CHARSET),
                     true);
    } else {
        o = MakeFont(StockFont("宋体", -12, GB2312_CHARSET), true);
    }
    stock[index] = Add(o);
    return stock[index];
}

DcState* DcOf(HDC dc) {
    GdiObject* o = Get(dc);
    return (o != nullptr && o->kind == kDC) ? &o->dc : nullptr;
}

PaintRecordFinder g_findRecord = nullptr;

// What a window's paint leaves behind is read by tests and front ends.
PaintRecord* RecordOf(const DcState& dc) {
    return g_findRecord != nullptr && dc.window != nullptr ? g_findRecord(dc.window) : nullptr;
}

void RecordText(const DcState& dc, const char* text, int length) {
    PaintRecord* record = RecordOf(dc);
    if (record == nullptr) return;
    record->textColor = dc.textColor;
    record->bkColor = dc.bkColor;
    record->bkMode = dc.bkMode;
    record->font = dc.font;
    record->text.assign(text, static_cast<size_t>(length));
}

}  // namespace

void SetPaintRecordFinder(PaintRecordFinder finder) {
    g_findRecord = finder;
}

SIZE ScreenSize() {
    static SIZE size = [] {
        SIZE s = {1920, 1080};
        const char* value = std::getenv("DESK_SCREEN");
        int w = 0;
        int h = 0;
        if (value != nullptr && std::sscanf(value, "%dx%d", &w, &h) == 2 && w > 0 && h > 0)
            s = SIZE{w, h};
        return s;
    }();
    return size;
}

int ScreenDpi() {
    // Read each time: a test may change the setting between windows.
    const char* value = std::getenv("DESK_DPI");
    int given = 0;
    if (value != nullptr && std::sscanf(value, "%d", &given) == 1 && given >= 96 && given <= 480)
        return given;
    return 96;
}

FontMetrics MetricsOf(HFONT font) {
    GdiObject* o = Get(font);
    if (o == nullptr || o->kind != kFont) o = Get(Stock(SYSTEM_FONT));
    const LOGFONTA& lf = o->font;
    int height = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    if (height == 0) height = 12;
    int narrow = lf.lfWidth > 0 ? lf.lfWidth : height / 2;
    if (narrow < 1) narrow = 1;
    return FontMetrics{height, narrow, lf.lfWidth > 0 ? 2 * lf.lfWidth : height};
}

int TextWidth(HFONT font, const char* text, size_t length) {
    FontMetrics m = MetricsOf(font);
    int width = 0;
    for (size_t i = 0; i < length; ++i) {
        if (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < length) {
            width += m.wide;
            ++i;
        } else {
            width += m.narrow;
        }
    }
    return width;
}

HDC NewDC(HWND hwnd) {
    GdiObject o = {};
    o.kind = kDC;
    o.dc = DcState{hwnd,
                   static_cast<HFONT>(Stock(SYSTEM_FONT)),
                   static_cast<HBRUSH>(Stock(WHITE_BRUSH)),
                   static_cast<HPEN>(Stock(BLACK_PEN)),
                   RGB(0, 0, 0),
                   RGB(255, 255, 255),
                   OPAQUE};
    return static_cast<HDC>(Add(o));
}

void FreeDC(HDC dc) {
    if (DcOf(dc) != nullptr) Objects().erase(reinterpret_cast<uintptr_t>(dc));
}

HICON NewIcon(bool icon, bool stock) {
    GdiObject o = {};
    o.kind = kIcon;
    o.isIcon = icon;
    o.stock = stock;
    return static_cast<HICON>(Add(o));
}

bool FreeIcon(HICON icon) {
    GdiObject* o = Get(icon);
    if (o == nullptr || o->kind != kIcon) return false;
    if (!o->stock) Objects().erase(reinterpret_cast<uintptr_t>(icon));
    return true;
}

size_t LiveGdiObjects() {
    size_t count = 0;
    for (const auto& entry : Objects()) {
        Kind kind = entry.second.kind;
        if (!entry.second.stock && (kind == kFont || kind == kBrush || kind == kPen)) ++count;
    }
    return count;
}

}  // namespace desk

using desk::DcState;
using desk::GdiObject;

HFONT CreateFontIndirectA(const LOGFONTA* font) {
    if (font == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    LOGFONTA lf = *font;
    lf.lfFaceName[LF_FACESIZE - 1] = '\0';
    return static_cast<HFONT>(desk::Add(desk::MakeFont(lf, false)));
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR faceName) {
    LOGFONTA lf = {height,
                   width,
                   escapement,
                   orientation,
                   weight,
                   static_cast<BYTE>(italic),
                   static_cast<BYTE>(underline),
                   static_cast<BYTE>(strikeOut),
                   static_cast<BYTE>(charSet),
                   static_cast<BYTE>(outPrecision),
                   static_cast<BYTE>(clipPrecision),
                   static_cast<BYTE>(quality),
                   static_cast<BYTE>(pitchAndFamily),
                   {}};
    if (faceName != nullptr) std::strncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirectA(&lf);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
    if (brush == nullptr) return nullptr;
    GdiObject o = {};
    o.kind = desk::kBrush;
    o.brush = *brush;
    return static_cast<HBRUSH>(desk::Add(o));
}

HBRUSH CreateSolidBrush(COLORREF color) {
    LOGBRUSH lb = {BS_SOLID, color, 0};
    return CreateBrushIndirect(&lb);
}

HGDIOBJ GetStockObject(int index) {
    return desk::Stock(index);
}

BOOL DeleteObject(HGDIOBJ object) {
    GdiObject* o = desk::Get(object);
    if (o == nullptr || o->kind == desk::kDC || o->kind == desk::kIcon) return FALSE;
    if (!o->stock) desk::Objects().erase(reinterpret_cast<uintptr_t>(object));
    return TRUE;
}

int GetObjectA(HGDIOBJ object, int size, LPVOID buffer) {
    GdiObject* o = desk::Get(object);
    if (o == nullptr) return 0;
    const void* data = nullptr;
    int full = 0;
    if (o->kind == desk::kFont) {
        data = &o->font;
        full = sizeof(LOGFONTA);
    } else if (o->kind == desk::kBrush) {
        data = &o->brush;
        full = sizeof(LOGBRUSH);
    } else {
        return 0;
    }
    if (buffer == nullptr) return full;
    int n = size < full ? size : full;
    if (n <= 0) return 0;
    std::memcpy(buffer, data, static_cast<size_t>(n));
    return n;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    DcState* state = desk::DcOf(dc);
    GdiObject* o = desk::Get(object);
    if (state == nullptr || o == nullptr) return nullptr;
    HGDIOBJ previous = nullptr;
    switch (o->kind) {
        case desk::kFont:
            previous = state->font;
            state->font = static_cast<HFONT>(object);
            break;
        case desk::kBrush:
            previous = state->brush;
            state->brush = static_cast<HBRUSH>(object);
            break;
        case desk::kPen:
            previous = state->pen;
            state->pen = static_cast<HPEN>(object);
            break;
        default:
            return nullptr;
    }
    return previous;
}

HGDIOBJ GetCurrentObject(HDC dc, UINT type) {
    DcState* state = desk::DcOf(dc);
    if (state == nullptr) return nullptr;
    if (type == OBJ_FONT) return state->font;
    if (type == OBJ_BRUSH) return state->brush;
    if (type == OBJ_PEN) return state->pen;
    return nullptr;
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
    DcState* state = desk::DcOf(dc);
    if (state == nullptr) return CLR_INVALID;
    COLORREF previous = state->textColor;
    state->textColor = color;
    return previous;
}

COLORREF GetTextColor(HDC dc) {
    DcState* state = desk::DcOf(dc);
    return state != nullptr ? state->textColor : CLR_INVALID;
}

COLORREF SetBkColor(HDC dc, COLORREF color) {
    DcState* state = desk::DcOf(dc);
    if (state == nullptr) return CLR_INVALID;
    COLORREF previous = state->bkColor;
    state->bkColor = color;
    return previous;
}

COLORREF GetBkColor(HDC dc) {
    DcState* state = desk::DcOf(dc);
    return state != nullptr ? state->bkColor : CLR_INVALID;
}

int SetBkMode(HDC dc, int mode) {
    DcState* state = desk::DcOf(dc);
    if (state == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    int previous = state->bkMode;
    state->bkMode = mode;
    return previous;
}

int GetBkMode(HDC dc) {
    DcState* state = desk::DcOf(dc);
    return state != nullptr ? state->bkMode : 0;
}

BOOL TextOutA(HDC dc, int, int, LPCSTR text, int length) {
    DcState* state = desk::DcOf(dc);
    if (state == nullptr || text == nullptr || length < 0) return FALSE;
    desk::RecordText(*state, text, length);
    return TRUE;
}

// Lines are broken at "\n" only (the desk does not wrap words); the height
// is the number of lines times the font height.
int DrawTextA(HDC dc, LPCSTR text, int length, LPRECT rect, UINT format) {
    DcState* state = desk::DcOf(dc);
    if (state == nullptr || text == nullptr || rect == nullptr) return 0;
    size_t n = length < 0 ? std::strlen(text) : static_cast<size_t>(length);
    desk::FontMetrics m = desk::MetricsOf(state->font);
    int lines = 1;
    int widest = 0;
    size_t lineStart = 0;
    for (size_t i = 0; i <= n; ++i) {
        bool end = i == n || (!(format & DT_SINGLELINE) && text[i] == '\n');
        if (!end) continue;
        size_t lineEnd = (i > lineStart && text[i - 1] == '\r') ? i - 1 : i;
        int width = desk::TextWidth(state->font, text + lineStart, lineEnd - lineStart);
        if (width > widest) widest = width;
        if (i < n) ++lines;
        lineStart = i + 1;
    }
    int height = lines * m.height;
    if (format & DT_CALCRECT) {
        rect->right = rect->left + widest;
        rect->bottom = rect->top + height;
        return height;
    }
    desk::RecordText(*state, text, static_cast<int>(n));
    return height;
}

// Recorded as the background of the window's last paint.
int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    DcState* state = desk::DcOf(dc);
    if (state == nullptr || rect == nullptr) return 0;
    uintptr_t value = reinterpret_cast<uintptr_t>(brush);
    if (value >= 1 && value <= 31)
        brush = GetSysColorBrush(static_cast<int>(value - 1));  // COLOR_x + 1
    if (desk::Get(brush) == nullptr) return 0;
    if (desk::PaintRecord* record = desk::RecordOf(*state)) record->background = brush;
    return 1;
}

BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, SIZE* size) {
    DcState* state = desk::DcOf(dc);
    if (state == nullptr || size == nullptr || length < 0 || (text == nullptr && length > 0))
        return FALSE;
    size->cx = desk::TextWidth(state->font, text, static_cast<size_t>(length));
    size->cy = desk::MetricsOf(state->font).height;
    return TRUE;
}

BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* tm) {
    DcState* state = desk::DcOf(dc);
    if (state == nullptr || tm == nullptr) return FALSE;
    desk::FontMetrics m = desk::MetricsOf(state->font);
    GdiObject* font = desk::Get(state->font);
    const LOGFONTA& lf = font->font;
    *tm = TEXTMETRICA{};
    tm->tmHeight = m.height;
    tm->tmDescent = m.height / 6;
    tm->tmAscent = m.height - tm->tmDescent;
    tm->tmAveCharWidth = m.narrow;
    tm->tmMaxCharWidth = m.wide;
    tm->tmWeight = lf.lfWeight != 0 ? lf.lfWeight : FW_NORMAL;
    tm->tmDigitizedAspectX = 96;
    tm->tmDigitizedAspectY = 96;
    tm->tmFirstChar = 0x20;
    tm->tmLastChar = 0xFF;
    tm->tmDefaultChar = '?';
    tm->tmBreakChar = ' ';
    tm->tmItalic = lf.lfItalic;
    tm->tmUnderlined = lf.lfUnderline;
    tm->tmStruckOut = lf.lfStrikeOut;
    tm->tmPitchAndFamily = lf.lfPitchAndFamily;
    tm->tmCharSet = lf.lfCharSet;
    return TRUE;
}

int GetDeviceCaps(HDC, int index) {
    SIZE screen = desk::ScreenSize();
    switch (index) {
        case HORZRES:
            return screen.cx;
        case VERTRES:
            return screen.cy;
        case BITSPIXEL:
            return 32;
        case LOGPIXELSX:
        case LOGPIXELSY:
            return desk::ScreenDpi();
        default:
            return 0;
    }
}

// Rounds half away from zero, as Win32 does; -1 when dividing by zero or
// the result does not fit.
int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) return -1;
    long long product = static_cast<long long>(number) * numerator;
    long long half = std::llabs(static_cast<long long>(denominator)) / 2;
    bool negative = (product < 0) != (denominator < 0);
    long long result =
        (std::llabs(product) + half) / std::llabs(static_cast<long long>(denominator));
    if (negative) result = -result;
    if (result > 0x7FFFFFFFLL || result < -0x7FFFFFFFLL - 1) return -1;
    return static_cast<int>(result);
}

DWORD GetSysColor(int index) {
    return (index >= 0 && index < 31) ? desk::kSysColors[index] : 0;
}

HBRUSH GetSysColorBrush(int index) {
    static HBRUSH brushes[31] = {};
    if (index < 0 || index >= 31) return nullptr;
    if (brushes[index] == nullptr) {
        GdiObject o = {};
        o.kind = desk::kBrush;
        o.stock = true;
        o.brush = LOGBRUSH{BS_SOLID, desk::kSysColors[index], 0};
        brushes[index] = static_cast<HBRUSH>(desk::Add(o));
    }
    return brushes[index];
}
