// The `EditBox` unit kind. The EDIT control does the editing; the runtime's
// procedure over it drops characters the input mode refuses, and its
// notifications come back from the window (reflected) as the edit box's
// events: EN_CHANGE is event 0, EN_SETFOCUS -7, EN_KILLFOCUS -8 after the
// content has been normalised to the input mode.
#include "forms/editbox_unit.h"

#include "forms/application.h"
#include "forms/border_style.h"
#include "forms/colour.h"
#include "forms/edit_input.h"
#include "forms/event_dispatch.h"
#include "forms/private_messages.h"
#include "forms/property_table.h"
#include "forms/unit_font.h"
#include "forms/unit_kind.h"
#include "forms/unit_teardown.h"

namespace {

// A full-width character measures the height one line of text needs.
const char kFullWidthSample[] = "国";

EditBoxObject* AsEditBox(UnitObject* object) {
    return static_cast<EditBoxObject*>(object);
}

COLORREF BackColour(const EditBoxProps& props) {
    return props.backColour == kDefaultColour ? GetSysColor(COLOR_BTNFACE) : props.backColour;
}

int Smaller(int a, int b) {
    return a < b ? a : b;
}
int Larger(int a, int b) {
    return a < b ? b : a;
}

std::string CurrentText(HWND hwnd) {
    int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = GetWindowTextA(hwnd, &text[0], length + 1);
    text.resize(static_cast<size_t>(copied < 0 ? 0 : copied));
    return text;
}

void Selection(HWND hwnd, DWORD* start, DWORD* end) {
    *start = 0;
    *end = 0;
    SendMessageA(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(start), reinterpret_cast<LPARAM>(end));
}

// A single-line box is at least one full-width character plus its edges tall.
void EnsureLineHeight(EditBoxObject* o) {
    if (o->props.multiLine) return;
    HDC dc = GetDC(o->hwnd);
    HGDIOBJ old = SelectObject(dc, FontOrDefault(o->font));
    SIZE extent = {0, 0};
    GetTextExtentPoint32A(dc, kFullWidthSample, 2, &extent);
    SelectObject(dc, old);
    ReleaseDC(o->hwnd, dc);
    int need = extent.cy + 2 * GetSystemMetrics(SM_CYEDGE);
    RECT rect;
    GetWindowRect(o->hwnd, &rect);
    if (rect.bottom - rect.top < need) {
        SetWindowPos(o->hwnd, nullptr, 0, 0, rect.right - rect.left, need,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void ApplyBrush(EditBoxObject* o) {
    if (o->brush != nullptr) DeleteObject(o->brush);
    o->brush = CreateSolidBrush(BackColour(o->props));
}

void ApplySpinRange(EditBoxObject* o) {
    if (o->spin == nullptr) return;
    SendMessageA(o->spin, UDM_SETRANGE32,
                 static_cast<WPARAM>(Smaller(o->props.spinMin, o->props.spinMax)),
                 static_cast<LPARAM>(Larger(o->props.spinMin, o->props.spinMax)));
}

void MakeSpin(EditBoxObject* o, HWND parent, int controlId, DWORD editStyle) {
    int border = o->props.borderStyle;
    DWORD exStyle = (border == 0 || border == 1 || border == 3) ? WS_EX_STATICEDGE : 0;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | UDS_SETBUDDYINT | UDS_NOTHOUSANDS | UDS_ALIGNRIGHT |
                  UDS_ARROWKEYS;
    if (o->props.spin == 2) style |= UDS_HORZ;
    if (editStyle & WS_DISABLED) style |= WS_DISABLED;
    o->spin =
        CreateWindowExA(exStyle, UPDOWN_CLASSA, "", style, 0, 0, 0, 0, parent,
                        reinterpret_cast<HMENU>(static_cast<uintptr_t>(controlId + kSpinIdOffset)),
                        g_app.instance, nullptr);
    if (o->spin == nullptr) return;
    SendMessageA(o->spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(o->hwnd), 0);
    ApplySpinRange(o);
}

void Select(EditBoxObject* o) {
    int start = o->props.selectionStart;
    SendMessageA(o->hwnd, EM_SETSEL, static_cast<WPARAM>(start),
                 static_cast<LPARAM>(start + o->props.selectionLength));
    SendMessageA(o->hwnd, EM_SCROLLCARET, 0, 0);
}

LRESULT CALLBACK EditBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The content as the input mode wants it once the focus has gone: replaced
// when it differs, with the caret where the selection began.
void Normalise(EditBoxObject* o) {
    std::string content = CurrentText(o->hwnd);
    std::string normal = NormaliseInput(o->props.inputMode, content);
    if (normal == content) return;
    DWORD start;
    DWORD end;
    Selection(o->hwnd, &start, &end);
    HWND hwnd = o->hwnd;
    o->props.content = normal;
    SetWindowTextA(hwnd, normal.c_str());
    if (UnitObjectOf(hwnd) != o) return;  // a change routine destroyed it
    WPARAM caret = start < normal.size() ? start : normal.size();
    SendMessageA(hwnd, EM_SETSEL, caret, static_cast<LPARAM>(caret));
    SendMessageA(hwnd, EM_SCROLLCARET, 0, 0);
}

LRESULT ReflectEditBox(UnitObject* object, UINT message, WPARAM wParam, LPARAM lParam,
                       bool* handled) {
    EditBoxObject* o = AsEditBox(object);
    if (message == WM_COMMAND) {
        *handled = true;
        HWND hwnd = o->hwnd;
        switch (HIWORD(wParam)) {
            case EN_CHANGE:
                if (!o->quietChange) RaiseUnitEvent(o, kEditChange);
                break;
            case EN_SETFOCUS:
                RaiseUnitEvent(o, kEventGotFocus);
                break;
            case EN_KILLFOCUS:
                Normalise(o);
                if (UnitObjectOf(hwnd) == o) RaiseUnitEvent(o, kEventLostFocus);
                break;
            default:
                *handled = false;
                break;
        }
        return 0;
    }
    if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, o->props.textColour);
        SetBkColor(dc, BackColour(o->props));
        *handled = true;
        return reinterpret_cast<LRESULT>(o->brush);
    }
    (void)lParam;
    return 0;
}

UnitObject* CreateEditBox(const CreateParams& p) {
    EditBoxProps props;
    if (!ReadEditBoxProps(p.block, p.length, &props)) return nullptr;
    DWORD style = p.style | EditBoxStyle(props);
    DWORD exStyle = 0;
    BorderStyles(props.borderStyle, &style, &exStyle);
    HWND hwnd = CreateWindowExA(
        exStyle, "EDIT", props.content.c_str(), style, p.left, p.top, p.width, p.height, p.parent,
        reinterpret_cast<HMENU>(static_cast<uintptr_t>(p.controlId)), g_app.instance, nullptr);
    if (hwnd == nullptr) return nullptr;
    auto* o = new EditBoxObject();
    TieToUnit(o, DT_EDIT_BOX, p);
    o->focusable = true;
    o->props = props;
    o->madeAsPassword = props.inputMode == kInputPassword;
    SubclassControl(o, hwnd, EditBoxProc);
    o->reflect = ReflectEditBox;
    ApplyBrush(o);
    ApplyFont(hwnd, o->props.font, o->dpi, &o->font);
    EnsureLineHeight(o);
    if (props.maxLength != 0)
        SendMessageA(hwnd, EM_LIMITTEXT, static_cast<WPARAM>(props.maxLength), 0);
    if (props.inputMode == kInputPassword)
        SendMessageA(hwnd, EM_SETPASSWORDCHAR, props.passwordChar, 0);
    if (!props.multiLine && props.spin != 0) MakeSpin(o, p.parent, p.controlId, style);
    Select(o);
    return o;
}

LRESULT CALLBACK EditBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* o = static_cast<EditBoxObject*>(UnitObjectOf(hwnd));
    if (o == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
        case kMsgScaleChanged:
            ApplyFont(hwnd, o->props.font, o->dpi, &o->font);
            return 0;
        case WM_CHAR: {
            unsigned char c = static_cast<unsigned char>(wParam);
            if (o->skipTrail) {
                o->skipTrail = false;
                return 0;
            }
            if (!InputModeAccepts(o->props.inputMode, c)) {
                o->skipTrail = c >= 0x81 && c <= 0xFE;
                return 0;
            }
            break;
        }
        case WM_KILLFOCUS:
            o->skipTrail = false;
            break;
        case WM_SHOWWINDOW:
            if (o->spin != nullptr) ShowWindow(o->spin, wParam ? SW_SHOWNA : SW_HIDE);
            break;
        case WM_ENABLE:
            if (o->spin != nullptr) EnableWindow(o->spin, static_cast<BOOL>(wParam));
            break;
        case WM_DESTROY:
            // Alone (closed or re-created) it takes its up-down control
            // along; with its window the up-down control goes anyway.
            if (o->spin != nullptr && IsWindow(o->spin) && !IsBeingDestroyed(GetParent(hwnd))) {
                DestroyWindow(o->spin);
            }
            o->spin = nullptr;
            break;
        case WM_NCDESTROY:
            return EndUnitObject(o, hwnd, message, wParam, lParam);
        default:
            break;
    }
    return CallBaseProc(o, hwnd, message, wParam, lParam);
}

std::vector<uint8_t> StoreEditBoxBlock(UnitObject* object) {
    EditBoxObject* o = AsEditBox(object);
    o->props.content = CurrentText(o->hwnd);
    DWORD start;
    DWORD end;
    Selection(o->hwnd, &start, &end);
    o->props.selectionStart = static_cast<int32_t>(start);
    o->props.selectionLength = static_cast<int32_t>(end - start);
    return WriteEditBoxProps(o->props);
}

bool EditBoxTakesEnter(UnitObject* object) {
    const EditBoxProps& p = AsEditBox(object)->props;
    return p.multiLine && p.inputMode != kInputReadOnly;
}

std::vector<uint8_t> RebuildEditBoxTexts(const uint8_t* block, uint32_t length, TextVisitor visit,
                                         void* context) {
    EditBoxProps props;
    if (!ReadEditBoxProps(block, length, &props)) return {};
    VisitFontFace(&props.font, visit, context);
    return WriteEditBoxProps(props);
}

// ---- the property table -------------------------------------------------------

using Rows = PropertyRows<EditBoxObject>;

// What the user typed becomes the stored content first.
void ReadContent(EditBoxObject* o, PropertyValue* v) {
    o->props.content = CurrentText(o->hwnd);
    *v = TextValue(o->props.content);
}

// The control's own notification is held back and one EN_CHANGE sent
// instead, so that the change event comes exactly once.
bool ShowContent(EditBoxObject* o) {
    HWND hwnd = o->hwnd;
    o->quietChange = true;
    SetWindowTextA(hwnd, o->props.content.c_str());
    if (UnitObjectOf(hwnd) != o) return false;
    o->quietChange = false;
    SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), EN_CHANGE),
                 reinterpret_cast<LPARAM>(hwnd));
    return false;
}

bool ShowBorder(EditBoxObject* o) {
    ApplyBorderStyle(o->hwnd, o->props.borderStyle);
    return false;
}

bool ShowBackColour(EditBoxObject* o) {
    ApplyBrush(o);
    return Rows::Repaint(o);
}

bool ShowFont(EditBoxObject* o) {
    ApplyFont(o->hwnd, o->props.font, o->dpi, &o->font);
    EnsureLineHeight(o);
    return false;
}

bool ShowMaxLength(EditBoxObject* o) {
    SendMessageA(o->hwnd, EM_LIMITTEXT, static_cast<WPARAM>(o->props.maxLength), 0);
    return false;
}

// Read-only and password are style bits: a change of either makes the
// control again.
bool RestyleForInputMode(EditBoxObject* o) {
    constexpr DWORD kModeStyles = ES_READONLY | ES_PASSWORD;
    DWORD live = static_cast<DWORD>(GetWindowLongA(o->hwnd, GWL_STYLE));
    return (EditBoxStyle(o->props) & kModeStyles) != (live & kModeStyles) ||
           o->madeAsPassword != (o->props.inputMode == kInputPassword);
}

bool ShowPasswordChar(EditBoxObject* o) {
    if (o->props.inputMode == kInputPassword)
        SendMessageA(o->hwnd, EM_SETPASSWORDCHAR, o->props.passwordChar, 0);
    return false;
}

bool ShowSpinRange(EditBoxObject* o) {
    ApplySpinRange(o);
    return false;
}

bool ShowSelection(EditBoxObject* o) {
    Select(o);
    return false;
}

void ReadSelectionStart(EditBoxObject* o, PropertyValue* v) {
    DWORD start;
    DWORD end;
    Selection(o->hwnd, &start, &end);
    *v = WordValue(start);
}

void ReadSelectionLength(EditBoxObject* o, PropertyValue* v) {
    DWORD start;
    DWORD end;
    Selection(o->hwnd, &start, &end);
    *v = WordValue(end - start);
}

void ReadSelectedText(EditBoxObject* o, PropertyValue* v) {
    DWORD start;
    DWORD end;
    Selection(o->hwnd, &start, &end);
    std::string text = CurrentText(o->hwnd);
    *v = TextValue(start < end && end <= text.size() ? text.substr(start, end - start)
                                                     : std::string());
}

// Not stored: the text goes into the control in place of its selection.
void ReplaceSelection(EditBoxObject* o, const PropertyValue& v) {
    SendMessageA(o->hwnd, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(v.text.c_str()));
}

// Changes the EDIT control cannot take once it exists (its style bits)
// make it again from the stored block.
constexpr Rows::Row kEditBoxRows[] = {
    {kEditContent, kKindText, ReadContent, Rows::WriteField<&EditBoxProps::content>, ShowContent},
    Rows::Field<&EditBoxProps::borderStyle>(kEditBorder, kKindChoice, ShowBorder),
    Rows::Field<&EditBoxProps::textColour>(kEditTextColour, kKindColour, Rows::Repaint),
    Rows::Field<&EditBoxProps::backColour>(kEditBackColour, kKindBackColour, ShowBackColour),
    Rows::Field<&EditBoxProps::font>(kEditFont, kKindFont, ShowFont),
    Rows::Field<&EditBoxProps::hideSelection>(kEditHideSelection, kKindLogical, Rows::Recreate),
    Rows::Field<&EditBoxProps::maxLength>(kEditMaxLength, kKindInteger, ShowMaxLength),
    Rows::Field<&EditBoxProps::multiLine>(kEditMultiLine, kKindLogical, Rows::Recreate),
    Rows::Field<&EditBoxProps::scrollBars>(kEditScrollBars, kKindChoice, Rows::Recreate),
    Rows::Field<&EditBoxProps::align>(kEditAlign, kKindChoice, Rows::Recreate),
    Rows::Field<&EditBoxProps::inputMode>(kEditInputMode, kKindChoice, RestyleForInputMode),
    Rows::Field<&EditBoxProps::passwordChar>(kEditPasswordChar, kKindInteger, ShowPasswordChar),
    Rows::Field<&EditBoxProps::caseConversion>(kEditCaseConversion, kKindChoice, Rows::Recreate),
    Rows::Field<&EditBoxProps::spin>(kEditSpin, kKindChoice, Rows::Recreate),
    Rows::Field<&EditBoxProps::spinMin>(kEditSpinMin, kKindInteger, ShowSpinRange),
    Rows::Field<&EditBoxProps::spinMax>(kEditSpinMax, kKindInteger, ShowSpinRange),
    {kEditSelectionStart, kKindInteger, ReadSelectionStart,
     Rows::WriteField<&EditBoxProps::selectionStart>, ShowSelection},
    {kEditSelectionLength, kKindInteger, ReadSelectionLength,
     Rows::WriteField<&EditBoxProps::selectionLength>, ShowSelection},
    Rows::Field<&EditBoxProps::dataSource>(kEditDataSource, kKindDataSource),
    Rows::Field<&EditBoxProps::dataColumn>(kEditDataColumn, kKindDataColumn),
    {kEditSelectedText, kKindText, ReadSelectedText, ReplaceSelection, nullptr},
};
static_assert(RowsInNumberOrder(kEditBoxRows), "row i holds property 8 + i");

constexpr UnitRoutines kEditBoxRoutines = {CreateEditBox, StoreEditBoxBlock, RebuildEditBoxTexts,
                                           nullptr,       EditBoxTakesEnter, nullptr};

}  // namespace

DWORD EditBoxStyle(const EditBoxProps& p) {
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    if (!p.hideSelection) style |= ES_NOHIDESEL;
    if (p.multiLine) {
        style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
        if (p.scrollBars == 1 || p.scrollBars == 3) style |= ES_AUTOHSCROLL | WS_HSCROLL;
        if (p.scrollBars == 2 || p.scrollBars == 3) style |= WS_VSCROLL;
    } else {
        style |= ES_AUTOHSCROLL;
    }
    if (p.align == 1) style |= ES_CENTER;
    if (p.align == 2) style |= ES_RIGHT;
    if (p.inputMode == kInputReadOnly) style |= ES_READONLY;
    if (p.inputMode == kInputPassword) style |= ES_PASSWORD;
    if (p.caseConversion == 1) style |= ES_LOWERCASE;
    if (p.caseConversion == 2) style |= ES_UPPERCASE;
    return style;
}

EditBoxObject::~EditBoxObject() {
    if (font != nullptr) DeleteObject(font);
    if (brush != nullptr) DeleteObject(brush);
}

const UnitKindEntry kEditBoxKind = KindEntry<kEditBoxRows, kEditBoxRoutines>();
