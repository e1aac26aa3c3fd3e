// The `Button` unit kind. A click (reflected BN_CLICKED) is event 0; the
// window's Enter key raises it too for a default button (BS_DEFPUSHBUTTON).
// A picture is used when it is an icon file image; pictures of other
// formats cannot be decoded here and are dropped, as undecodable ones are.
#include "forms/button_unit.h"

#include "forms/application.h"
#include "forms/display_scale.h"
#include "forms/event_dispatch.h"
#include "forms/event_record.h"
#include "forms/form_requests.h"
#include "forms/icon_image.h"
#include "forms/private_messages.h"
#include "forms/property_kinds.h"
#include "forms/unit_kind.h"
#include "runtime/notify.h"

namespace {

ButtonObject* AsButton(UnitObject* object) {
    return static_cast<ButtonObject*>(object);
}

void ApplyFont(ButtonObject* o) {
    HFONT old = o->font;
    o->font = o->props.font.present ? CreateFontForDpi(o->props.font.logfont, o->dpi) : nullptr;
    HGDIOBJ font =
        o->font != nullptr ? static_cast<HGDIOBJ>(o->font) : GetStockObject(DEFAULT_GUI_FONT);
    SendMessageA(o->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (old != nullptr) DeleteObject(old);
}

LRESULT ReflectButton(UnitObject* object, UINT message, WPARAM wParam, LPARAM, bool* handled) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        *handled = true;
        RaiseUnitEvent(object, kEventClick);
    }
    return 0;
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* o = static_cast<ButtonObject*>(UnitObjectOf(hwnd));
    if (o == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
        case kMsgScaleChanged:
            ApplyFont(o);
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
        case WM_NCDESTROY: {
            DetachUnitObject(hwnd);
            RuntimeNotify(kRequestUnitGone, ToWord(static_cast<UnitObject*>(o)), 0);
            LRESULT answer = CallBaseProc(o, hwnd, message, wParam, lParam);
            if (o->font != nullptr) DeleteObject(o->font);
            if (o->icon != nullptr) DestroyIcon(o->icon);
            delete o;
            return answer;
        }
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
    o->unitType = DT_BUTTON;
    o->windowId = p.windowId;
    o->unitId = p.unitId;
    o->dpi = p.dpi;
    o->focusable = true;
    o->reflect = ReflectButton;
    o->props = props;
    o->icon = icon;
    SubclassControl(o, hwnd, ButtonProc);
    ApplyFont(o);
    if (icon != nullptr)
        SendMessageA(hwnd, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    return o;
}

bool SetButtonProperty(UnitObject* object, int32_t ownIndex, const PropertyValue& v) {
    ButtonObject* o = AsButton(object);
    ButtonProps& p = o->props;
    switch (ownIndex + kFirstOwnProperty) {
        case kButtonPicture:
            p.picture = v.bytes;
            return true;
        case kButtonType:
            p.buttonType = ValueInt(v);
            SendMessageA(o->hwnd, BM_SETSTYLE, p.buttonType == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON,
                         TRUE);
            return false;
        case kButtonCaption:
            p.caption = v.text;
            SetWindowTextA(o->hwnd, p.caption.c_str());
            return false;
        case kButtonHorizontalAlign:
            p.horizontalAlign = ValueInt(v);
            return true;
        case kButtonVerticalAlign:
            p.verticalAlign = ValueInt(v);
            return true;
        case kButtonFont:
            p.font = v.font;
            ApplyFont(o);
            return false;
        default:
            return false;
    }
}

bool GetButtonProperty(UnitObject* object, int32_t ownIndex, PropertyValue* v) {
    const ButtonProps& p = AsButton(object)->props;
    switch (ownIndex + kFirstOwnProperty) {
        case kButtonPicture:
            *v = BytesValue(p.picture);
            return true;
        case kButtonType:
            *v = IntValue(p.buttonType);
            return true;
        case kButtonCaption:
            *v = TextValue(p.caption);
            return true;
        case kButtonHorizontalAlign:
            *v = IntValue(p.horizontalAlign);
            return true;
        case kButtonVerticalAlign:
            *v = IntValue(p.verticalAlign);
            return true;
        case kButtonFont:
            *v = FontValue(p.font);
            return true;
        default:
            return false;
    }
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

}  // namespace

DWORD ButtonStyle(const ButtonProps& p) {
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | BS_MULTILINE;
    style |= p.buttonType == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    style |= p.horizontalAlign == 0 ? BS_LEFT : p.horizontalAlign == 2 ? BS_RIGHT : BS_CENTER;
    style |= p.verticalAlign == 0 ? BS_TOP : p.verticalAlign == 2 ? BS_BOTTOM : BS_VCENTER;
    return style;
}

void* ButtonInterface(int32_t operation) {
    switch (operation) {
        case kOpCreate:
            return reinterpret_cast<void*>(CreateButton);
        case kOpSetProperty:
            return reinterpret_cast<void*>(SetButtonProperty);
        case kOpStoreBlock:
            return reinterpret_cast<void*>(StoreButtonBlock);
        case kOpGetProperty:
            return reinterpret_cast<void*>(GetButtonProperty);
        case kOpRebuildTexts:
            return reinterpret_cast<void*>(RebuildButtonTexts);
        case kOpIsDefaultButton:
            return reinterpret_cast<void*>(IsDefaultButton);
        default:
            return nullptr;
    }
}
