// The `Button` unit kind. A click (reflected BN_CLICKED) is event 0; the
// window's Enter key raises it too for a default button (BS_DEFPUSHBUTTON).
// A picture is used when it is an icon file image; pictures of other
// formats cannot be decoded here and are dropped, as undecodable ones are.
#include "forms/button_unit.h"

#include "forms/application.h"
#include "forms/event_dispatch.h"
#include "forms/icon_image.h"
#include "forms/private_messages.h"
#include "forms/property_table.h"
#include "forms/unit_font.h"
#include "forms/unit_kind.h"
#include "forms/unit_teardown.h"

namespace {

ButtonObject* AsButton(UnitObject* object) {
    return static_cast<ButtonObject*>(object);
}

LRESULT ReflectButton(UnitObject* object, UINT message, WPARAM wParam, LPARAM, bool* handled) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        *handled = true;
        RaiseUnitEvent(object, kButtonClick);
    }
    return 0;
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* o = static_cast<ButtonObject*>(UnitObjectOf(hwnd));
    if (o == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
        case kMsgScaleChanged:
            ApplyFont(hwnd, o->props.font, o->dpi, &o->font);
            return 0;
        case WM_SETFOCUS: {
            LRESULT answer = CallBaseProc(o, hwnd, message, wParam, lParam);
            RaiseUnitEvent(o, kEventGotFocus);
            return answer;
        }
        case WM_KILLFOCUS: {
            LRESULT answer = CallBaseProc(o, hwnd, message, wParam, lParam);
            RaiseUnitEvent(o, kEventLostFocus);
            return answer;
        }
        case WM_NCDESTROY:
            return EndUnitObject(o, hwnd, message, wParam, lParam);
        default:
            return CallBaseProc(o, hwnd, message, wParam, lParam);
    }
}

UnitObject* CreateButton(const CreateParams& p) {
    ButtonProps props;
    if (!ReadButtonProps(p.block, p.length, &props)) return nullptr;
    HICON icon = nullptr;
    if (!props.picture.empty()) {
        icon = IconFromFileImage(props.picture.data(), static_cast<uint32_t>(props.picture.size()),
                                 GetSystemMetrics(SM_CXICON));
    }
    DWORD style = p.style | ButtonStyle(props) | (icon != nullptr ? BS_ICON : 0);
    HWND hwnd = CreateWindowExA(
        0, "BUTTON", props.caption.c_str(), style, p.left, p.top, p.width, p.height, p.parent,
        reinterpret_cast<HMENU>(static_cast<uintptr_t>(p.controlId)), g_app.instance, nullptr);
    if (hwnd == nullptr) {
        if (icon != nullptr) DestroyIcon(icon);
        return nullptr;
    }
    auto* o = new ButtonObject();
    TieToUnit(o, DT_BUTTON, p);
    o->focusable = true;
    o->reflect = ReflectButton;
    o->props = props;
    o->icon = icon;
    SubclassControl(o, hwnd, ButtonProc);
    ApplyFont(hwnd, o->props.font, o->dpi, &o->font);
    if (icon != nullptr)
        SendMessageA(hwnd, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    return o;
}

std::vector<uint8_t> StoreButtonBlock(UnitObject* object) {
    return WriteButtonProps(AsButton(object)->props);
}

bool IsDefaultButton(UnitObject* object) {
    return (static_cast<DWORD>(GetWindowLongA(object->hwnd, GWL_STYLE)) & BS_TYPEMASK) ==
           BS_DEFPUSHBUTTON;
}

std::vector<uint8_t> RebuildButtonTexts(const uint8_t* block, uint32_t length, TextVisitor visit,
                                        void* context) {
    ButtonProps props;
    if (!ReadButtonProps(block, length, &props)) return {};
    visit(&props.caption, context);
    VisitFontFace(&props.font, visit, context);
    return WriteButtonProps(props);
}

// ---- the property table -------------------------------------------------------

using Rows = PropertyRows<ButtonObject>;

bool ShowButtonType(ButtonObject* o) {
    SendMessageA(o->hwnd, BM_SETSTYLE, o->props.buttonType == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON,
                 TRUE);
    return false;
}

bool ShowCaption(ButtonObject* o) {
    SetWindowTextA(o->hwnd, o->props.caption.c_str());
    return false;
}

bool ShowFont(ButtonObject* o) {
    ApplyFont(o->hwnd, o->props.font, o->dpi, &o->font);
    return false;
}

// The picture and the alignments are style bits (and a decoded icon)
// fixed when the control is made.
constexpr Rows::Row kButtonRows[] = {
    Rows::Field<&ButtonProps::picture>(kButtonPicture, kKindPicture, Rows::Recreate),
    Rows::Field<&ButtonProps::buttonType>(kButtonType, kKindChoice, ShowButtonType),
    Rows::Field<&ButtonProps::caption>(kButtonCaption, kKindText, ShowCaption),
    Rows::Field<&ButtonProps::horizontalAlign>(kButtonHorizontalAlign, kKindChoice, Rows::Recreate),
    Rows::Field<&ButtonProps::verticalAlign>(kButtonVerticalAlign, kKindChoice, Rows::Recreate),
    Rows::Field<&ButtonProps::font>(kButtonFont, kKindFont, ShowFont),
};
static_assert(RowsInNumberOrder(kButtonRows), "row i holds property 8 + i");

constexpr UnitRoutines kButtonRoutines = {CreateButton, StoreButtonBlock, RebuildButtonTexts,
                                          nullptr,      nullptr,          IsDefaultButton};

}  // namespace

DWORD ButtonStyle(const ButtonProps& p) {
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | BS_MULTILINE;
    style |= p.buttonType == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    style |= p.horizontalAlign == 0 ? BS_LEFT : p.horizontalAlign == 2 ? BS_RIGHT : BS_CENTER;
    style |= p.verticalAlign == 0 ? BS_TOP : p.verticalAlign == 2 ? BS_BOTTOM : BS_VCENTER;
    return style;
}

ButtonObject::~ButtonObject() {
    if (font != nullptr) DeleteObject(font);
    if (icon != nullptr) DestroyIcon(icon);
}

const UnitKindEntry kButtonKind = KindEntry<kButtonRows, kButtonRoutines>();
