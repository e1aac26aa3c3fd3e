// The `Label` unit kind. Labels have a window class of their own and draw
// everything themselves on each paint: the background (the button-face
// colour unless one is set), then the caption with DrawText in the label's
// font and text colour. Gradients and background pictures are kept in the
// property block but not drawn.
#include "forms/label_unit.h"

#include "forms/application.h"
#include "forms/border_style.h"
#include "forms/display_scale.h"
#include "forms/event_dispatch.h"
#include "forms/event_record.h"
#include "forms/form_requests.h"
#include "forms/private_messages.h"
#include "forms/property_kinds.h"
#include "forms/unit_kind.h"
#include "runtime/notify.h"

namespace {

const char kLabelClass[] = "WTLabel";
constexpr COLORREF kReliefColour = 0xFFFFFF;

LabelObject* AsLabel(UnitObject* object) {
    return static_cast<LabelObject*>(object);
}

LRESULT CALLBACK LabelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

bool EnsureLabelClass() {
    WNDCLASSA existing;
    if (GetClassInfoA(g_app.instance, kLabelClass, &existing)) return true;
    WNDCLASSA wc = {};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = LabelProc;
    wc.hInstance = g_app.instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kLabelClass;
    return RegisterClassA(&wc) != 0;
}

void MakeFont(LabelObject* o) {
    if (o->font != nullptr) DeleteObject(o->font);
    o->font = o->props.font.present ? CreateFontForDpi(o->props.font.logfont, o->dpi) : nullptr;
}

void MakeBrush(LabelObject* o) {
    if (o->brush != nullptr) DeleteObject(o->brush);
    o->brush =
        o->props.backColour == kDefaultColour ? nullptr : CreateSolidBrush(o->props.backColour);
}

UnitObject* CreateLabel(const CreateParams& p) {
    LabelProps props;
    if (!ReadLabelProps(p.block, p.length, &props) || !EnsureLabelClass()) return nullptr;
    DWORD style = p.style | WS_CHILD | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    BorderStyles(props.borderStyle, &style, &exStyle);
    auto* o = new LabelObject();
    o->unitType = DT_LABEL;
    o->windowId = p.windowId;
    o->unitId = p.unitId;
    o->dpi = p.dpi;
    o->props = props;
    HWND hwnd = CreateWindowExA(
        exStyle, kLabelClass, o->props.caption.c_str(), style, p.left, p.top, p.width, p.height,
        p.parent, reinterpret_cast<HMENU>(static_cast<uintptr_t>(p.controlId)), g_app.instance, o);
    if (hwnd == nullptr) {
        delete o;
        return nullptr;
    }
    MakeFont(o);
    MakeBrush(o);
    return o;
}

void Paint(LabelObject* o) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(o->hwnd, &ps);
    RECT client;
    GetClientRect(o->hwnd, &client);
    FillRect(dc, &client, o->brush != nullptr ? o->brush : GetSysColorBrush(COLOR_BTNFACE));
    HGDIOBJ oldFont =
        SelectObject(dc, o->font != nullptr ? o->font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    UINT format = LabelTextFormat(o->props);
    const char* caption = o->props.caption.c_str();
    if (o->props.textEffect == 1 || o->props.textEffect == 2) {
        // The relief: a white copy one pixel down and right (raised) or up
        // and left (sunken) under the caption.
        int shift = o->props.textEffect == 1 ? 1 : -1;
        RECT relief = client;
        OffsetRect(&relief, shift, shift);
        SetTextColor(dc, kReliefColour);
        DrawTextA(dc, caption, -1, &relief, format);
    }
    SetTextColor(dc, o->props.textColour);
    DrawTextA(dc, caption, -1, &client, format);
    SelectObject(dc, oldFont);
    EndPaint(o->hwnd, &ps);
}

LRESULT CALLBACK LabelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const CREATESTRUCTA* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (auto* o = static_cast<LabelObject*>(cs->lpCreateParams)) {
            o->hwnd = hwnd;
            AttachUnitObject(hwnd, o);
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    auto* o = static_cast<LabelObject*>(UnitObjectOf(hwnd));
    if (o == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
        case kMsgScaleChanged:
            MakeFont(o);
            InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_PAINT:
            Paint(o);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the paint fills the background
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(o->font != nullptr ? static_cast<HGDIOBJ>(o->font)
                                                                : GetStockObject(DEFAULT_GUI_FONT));
        case WM_NCDESTROY:
            DetachUnitObject(hwnd);
            RuntimeNotify(kRequestUnitGone, ToWord(static_cast<UnitObject*>(o)), 0);
            if (o->font != nullptr) DeleteObject(o->font);
            if (o->brush != nullptr) DeleteObject(o->brush);
            delete o;
            return DefWindowProcA(hwnd, message, wParam, lParam);
        default:
            break;
    }
    if (message == kMsgControlsMade) {
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    }
    if (message == kMsgLabelRequest) {
        EventOutcome outcome = RaiseUnitEvent(
            o, kEventLabelRequest, {static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam)});
        return outcome.resultPresent ? static_cast<LRESULT>(outcome.result) : 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool SetLabelProperty(UnitObject* object, int32_t ownIndex, const PropertyValue& v) {
    LabelObject* o = AsLabel(object);
    LabelProps& p = o->props;
    int32_t index = ownIndex + kFirstOwnProperty;
    switch (index) {
        case kLabelCaption:
            p.caption = v.text;
            SetWindowTextA(o->hwnd, p.caption.c_str());
            break;
        case kLabelTextEffect:
            p.textEffect = ValueInt(v);
            break;
        case kLabelBorder:
            p.borderStyle = ValueInt(v);
            ApplyBorderStyle(o->hwnd, o->props.borderStyle);
            break;
        case kLabelGradientWidth:
            p.gradientWidth = ValueInt(v);
            break;
        case kLabelFont:
            p.font = v.font;
            MakeFont(o);
            break;
        case kLabelTextColour:
            p.textColour = v.low;
            break;
        case kLabelBackColour:
            p.backColour = v.low;
            MakeBrush(o);
            break;
        case kLabelPicture:
            p.picture = v.bytes;
            break;
        case kLabelPictureMode:
            p.pictureMode = ValueInt(v);
            break;
        case kLabelGradientMode:
            p.gradientMode = ValueInt(v);
            break;
        case kLabelHorizontalAlign:
            p.horizontalAlign = ValueInt(v);
            break;
        case kLabelWordWrap:
            p.wordWrap = ValueInt(v);
            break;
        case kLabelVerticalAlign:
            p.verticalAlign = ValueInt(v);
            break;
        case kLabelDataSource:
            p.dataSource = v.text;
            break;
        case kLabelDataColumn:
            p.dataColumn = v.text;
            break;
        default:
            if (index >= kLabelBorderColour1 && index < kLabelBorderColour1 + 3) {
                p.borderColours[index - kLabelBorderColour1] = v.low;
            } else if (index >= kLabelBackColour1 && index < kLabelBackColour1 + 3) {
                p.backColours[index - kLabelBackColour1] = v.low;
            }
            break;
    }
    InvalidateRect(o->hwnd, nullptr, TRUE);
    return false;
}

bool GetLabelProperty(UnitObject* object, int32_t ownIndex, PropertyValue* v) {
    const LabelProps& p = AsLabel(object)->props;
    int32_t index = ownIndex + kFirstOwnProperty;
    switch (index) {
        case kLabelCaption:
            *v = TextValue(p.caption);
            return true;
        case kLabelTextEffect:
            *v = IntValue(p.textEffect);
            return true;
        case kLabelBorder:
            *v = IntValue(p.borderStyle);
            return true;
        case kLabelGradientWidth:
            *v = IntValue(p.gradientWidth);
            return true;
        case kLabelFont:
            *v = FontValue(p.font);
            return true;
        case kLabelTextColour:
            *v = WordValue(p.textColour);
            return true;
        case kLabelBackColour:
            *v = WordValue(p.backColour);
            return true;
        case kLabelPicture:
            *v = BytesValue(p.picture);
            return true;
        case kLabelPictureMode:
            *v = IntValue(p.pictureMode);
            return true;
        case kLabelGradientMode:
            *v = IntValue(p.gradientMode);
            return true;
        case kLabelHorizontalAlign:
            *v = IntValue(p.horizontalAlign);
            return true;
        case kLabelWordWrap:
            *v = IntValue(p.wordWrap);
            return true;
        case kLabelVerticalAlign:
            *v = IntValue(p.verticalAlign);
            return true;
        case kLabelDataSource:
            *v = TextValue(p.dataSource);
            return true;
        case kLabelDataColumn:
            *v = TextValue(p.dataColumn);
            return true;
        default:
            if (index >= kLabelBorderColour1 && index < kLabelBorderColour1 + 3) {
                *v = WordValue(p.borderColours[index - kLabelBorderColour1]);
                return true;
            }
            if (index >= kLabelBackColour1 && index < kLabelBackColour1 + 3) {
                *v = WordValue(p.backColours[index - kLabelBackColour1]);
                return true;
            }
            return false;
    }
}

std::vector<uint8_t> StoreLabelBlock(UnitObject* object) {
    return WriteLabelProps(AsLabel(object)->props);
}

std::vector<uint8_t> RebuildLabelTexts(const uint8_t* block, uint32_t length, TextVisitor visit,
                                       void* context) {
    LabelProps props;
    if (!ReadLabelProps(block, length, &props)) return {};
    visit(&props.caption, context);
    VisitFontFace(&props.font, visit, context);
    return WriteLabelProps(props);
}

}  // namespace

UINT LabelTextFormat(const LabelProps& props) {
    UINT format = DT_NOPREFIX;
    if (props.horizontalAlign == 1) format |= DT_CENTER;
    if (props.horizontalAlign == 2) format |= DT_RIGHT;
    if (props.wordWrap) return format | DT_WORDBREAK | DT_VCENTER;
    format |= DT_SINGLELINE;
    if (props.verticalAlign == 1) format |= DT_VCENTER;
    if (props.verticalAlign == 2) format |= DT_BOTTOM;
    return format;
}

void* LabelInterface(int32_t operation) {
    switch (operation) {
        case kOpCreate:
            return reinterpret_cast<void*>(CreateLabel);
        case kOpSetProperty:
            return reinterpret_cast<void*>(SetLabelProperty);
        case kOpStoreBlock:
            return reinterpret_cast<void*>(StoreLabelBlock);
        case kOpGetProperty:
            return reinterpret_cast<void*>(GetLabelProperty);
        case kOpRebuildTexts:
            return reinterpret_cast<void*>(RebuildLabelTexts);
        default:
            return nullptr;
    }
}
