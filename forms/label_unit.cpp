// The `Label` unit kind. Labels have a window class of their own and draw
// everything themselves on each paint: the background (the button-face
// colour unless one is set), then the caption with DrawText in the label's
// font and text colour. Gradients and background pictures are kept in the
// property block but not drawn.
#include "forms/label_unit.h"

#include "forms/application.h"
#include "forms/border_style.h"
#include "forms/event_dispatch.h"
#include "forms/private_messages.h"
#include "forms/property_table.h"
#include "forms/unit_font.h"
#include "forms/unit_kind.h"
#include "forms/unit_teardown.h"

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
    TieToUnit(o, DT_LABEL, p);
    o->props = props;
    HWND hwnd = CreateWindowExA(
        exStyle, kLabelClass, o->props.caption.c_str(), style, p.left, p.top, p.width, p.height,
        p.parent, reinterpret_cast<HMENU>(static_cast<uintptr_t>(p.controlId)), g_app.instance, o);
    if (hwnd == nullptr) {
        delete o;
        return nullptr;
    }
    ApplyFont(hwnd, o->props.font, o->dpi, &o->font);
    MakeBrush(o);
    return o;
}

void Paint(LabelObject* o) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(o->hwnd, &ps);
    RECT client;
    GetClientRect(o->hwnd, &client);
    FillRect(dc, &client, o->brush != nullptr ? o->brush : GetSysColorBrush(COLOR_BTNFACE));
    HGDIOBJ oldFont = SelectObject(dc, FontOrDefault(o->font));
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
            ApplyFont(hwnd, o->props.font, o->dpi, &o->font);
            InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_PAINT:
            Paint(o);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the paint fills the background
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(FontOrDefault(o->font));
        case WM_NCDESTROY:
            return EndUnitObject(o, hwnd, message, wParam, lParam);
        default:
            break;
    }
    if (message == kMsgControlsMade) {
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    }
    if (message == kMsgLabelRequest) {
        EventOutcome outcome = RaiseUnitEvent(
            o, kLabelRequest, {static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam)});
        return outcome.resultPresent ? static_cast<LRESULT>(outcome.result) : 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
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

// ---- the property table -------------------------------------------------------

// A label paints everything from its props, so every change repaints it.
using Rows = PropertyRows<LabelObject>;

bool ShowCaption(LabelObject* o) {
    SetWindowTextA(o->hwnd, o->props.caption.c_str());
    return Rows::Repaint(o);
}

bool ShowBorder(LabelObject* o) {
    ApplyBorderStyle(o->hwnd, o->props.borderStyle);
    return Rows::Repaint(o);
}

bool ShowFont(LabelObject* o) {
    ApplyFont(o->hwnd, o->props.font, o->dpi, &o->font);
    return Rows::Repaint(o);
}

bool ShowBackColour(LabelObject* o) {
    MakeBrush(o);
    return Rows::Repaint(o);
}

constexpr auto Repaint = Rows::Repaint;

constexpr Rows::Row kLabelRows[] = {
    Rows::Field<&LabelProps::caption>(kLabelCaption, kKindText, ShowCaption),
    Rows::Field<&LabelProps::textEffect>(kLabelTextEffect, kKindChoice, Repaint),
    Rows::Field<&LabelProps::borderStyle>(kLabelBorder, kKindChoice, ShowBorder),
    Rows::Field<&LabelProps::gradientWidth>(kLabelGradientWidth, kKindInteger, Repaint),
    Rows::Element<&LabelProps::borderColours, 0>(kLabelBorderColour1, kKindColour2, Repaint),
    Rows::Element<&LabelProps::borderColours, 1>(kLabelBorderColour2, kKindColour2, Repaint),
    Rows::Element<&LabelProps::borderColours, 2>(kLabelBorderColour3, kKindColour2, Repaint),
    Rows::Field<&LabelProps::font>(kLabelFont, kKindFont, ShowFont),
    Rows::Field<&LabelProps::textColour>(kLabelTextColour, kKindColour, Repaint),
    Rows::Field<&LabelProps::backColour>(kLabelBackColour, kKindBackColour, ShowBackColour),
    Rows::Field<&LabelProps::picture>(kLabelPicture, kKindPicture, Repaint),
    Rows::Field<&LabelProps::pictureMode>(kLabelPictureMode, kKindChoice, Repaint),
    Rows::Field<&LabelProps::gradientMode>(kLabelGradientMode, kKindChoice, Repaint),
    Rows::Element<&LabelProps::backColours, 0>(kLabelBackColour1, kKindColour2, Repaint),
    Rows::Element<&LabelProps::backColours, 1>(kLabelBackColour2, kKindColour2, Repaint),
    Rows::Element<&LabelProps::backColours, 2>(kLabelBackColour3, kKindColour2, Repaint),
    Rows::Field<&LabelProps::horizontalAlign>(kLabelHorizontalAlign, kKindChoice, Repaint),
    Rows::Field<&LabelProps::wordWrap>(kLabelWordWrap, kKindLogical, Repaint),
    Rows::Field<&LabelProps::verticalAlign>(kLabelVerticalAlign, kKindChoice, Repaint),
    Rows::Field<&LabelProps::dataSource>(kLabelDataSource, kKindDataSource, Repaint),
    Rows::Field<&LabelProps::dataColumn>(kLabelDataColumn, kKindDataColumn, Repaint),
};
static_assert(RowsInNumberOrder(kLabelRows), "row i holds property 8 + i");

constexpr UnitRoutines kLabelRoutines = {CreateLabel, StoreLabelBlock, RebuildLabelTexts,
                                         nullptr,     nullptr,         nullptr};

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

LabelObject::~LabelObject() {
    if (font != nullptr) DeleteObject(font);
    if (brush != nullptr) DeleteObject(brush);
}

const UnitKindEntry kLabelKind = KindEntry<kLabelRows, kLabelRoutines>();
