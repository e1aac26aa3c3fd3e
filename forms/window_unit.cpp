// The `window` unit kind. Its platform window belongs to the runtime's own
// class ("WTWindow" unless the property block names another), whose
// procedure turns the window's messages into its events and hands each
// control's notifications (WM_COMMAND, WM_CTLCOLOR*) back to that control,
// so that every unit kind handles its own.
#include "forms/window_unit.h"

#include "forms/application.h"
#include "forms/event_dispatch.h"
#include "forms/icon_image.h"
#include "forms/loaded_window.h"
#include "forms/private_messages.h"
#include "forms/property_table.h"
#include "forms/unit_kind.h"
#include "forms/unit_teardown.h"
#include "forms/window_focus.h"
#include "forms/window_help.h"
#include "forms/window_loader.h"
#include "forms/window_menu.h"
#include "forms/window_music.h"
#include "forms/window_rescale.h"
#include "forms/window_table.h"
#include "runtime/runtime_state.h"

namespace {

const char kDefaultClassName[] = "WTWindow";

// Style bits the border style and the buttons decide; a property write
// replaces exactly these.
constexpr DWORD kFrameStyles =
    WS_CAPTION | WS_SYSMENU | WS_DLGFRAME | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX;
constexpr DWORD kFrameExStyles = WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE;

WindowObject* AsWindow(UnitObject* object) {
    return static_cast<WindowObject*>(object);
}

bool Resizable(const WindowProps& props) {
    return props.borderStyle == 1 || props.borderStyle == 3 || props.borderStyle == 5;
}

LRESULT CALLBACK WindowUnitProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Registered once per run, unless the platform already knows the name.
bool EnsureWindowClass(const char* name) {
    WNDCLASSA existing;
    if (GetClassInfoA(g_app.instance, name, &existing)) return true;
    WNDCLASSA wc = {};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = WindowUnitProc;
    wc.hInstance = g_app.instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    return RegisterClassA(&wc) != 0;
}

// Large and small icons from the icon byte set; without one (or when it
// cannot be read) the runtime's default program icon.
void ApplyIcons(WindowObject* o) {
    HICON oldBig = o->bigIcon;
    HICON oldSmall = o->smallIcon;
    const std::vector<uint8_t>& icon = o->props.icon;
    uint32_t length = static_cast<uint32_t>(icon.size());
    o->bigIcon = IconFromFileImage(icon.data(), length, GetSystemMetrics(SM_CXICON));
    o->smallIcon = IconFromFileImage(icon.data(), length, GetSystemMetrics(SM_CXSMICON));
    HICON fallback = LoadIconA(g_app.instance, MAKEINTRESOURCEA(1));
    if (fallback == nullptr) fallback = LoadIconA(nullptr, IDI_APPLICATION);
    SendMessageA(o->hwnd, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(o->bigIcon != nullptr ? o->bigIcon : fallback));
    SendMessageA(o->hwnd, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(o->smallIcon != nullptr ? o->smallIcon : fallback));
    if (oldBig != nullptr) DestroyIcon(oldBig);
    if (oldSmall != nullptr) DestroyIcon(oldSmall);
}

void MakeBrush(WindowObject* o) {
    if (o->brush != nullptr) DeleteObject(o->brush);
    o->brush =
        o->props.backColour == kDefaultColour ? nullptr : CreateSolidBrush(o->props.backColour);
}

void Restyle(WindowObject* o) {
    DWORD style = 0;
    DWORD exStyle = 0;
    bool embedded = (GetWindowLongA(o->hwnd, GWL_STYLE) & WS_CHILD) != 0;
    WindowStyles(o->props, embedded, &style, &exStyle);
    DWORD oldStyle = static_cast<DWORD>(GetWindowLongA(o->hwnd, GWL_STYLE));
    DWORD oldEx = static_cast<DWORD>(GetWindowLongA(o->hwnd, GWL_EXSTYLE));
    SetWindowLongA(o->hwnd, GWL_STYLE, static_cast<LONG>((oldStyle & ~kFrameStyles) | style));
    SetWindowLongA(o->hwnd, GWL_EXSTYLE,
                   static_cast<LONG>((oldEx & ~kFrameExStyles) | (exStyle & kFrameExStyles)));
    SetWindowPos(o->hwnd, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Without the close command allowed, the system menu loses it (and the
// close box with it); allowed again, the system menu is put back.
void ApplyCloseCommand(WindowObject* o) {
    if (o->props.closeAllowed) {
        GetSystemMenu(o->hwnd, TRUE);
        return;
    }
    if (HMENU system = GetSystemMenu(o->hwnd, FALSE)) DeleteMenu(system, SC_CLOSE, MF_BYCOMMAND);
}

void PlaceOnTop(WindowObject* o) {
    SetWindowPos(o->hwnd, o->props.alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

UnitObject* CreateWindowUnit(const CreateParams& p) {
    WindowProps props;
    if (!ReadWindowProps(p.block, p.length, &props)) return nullptr;

    DWORD style = p.style | WS_CLIPCHILDREN;
    DWORD exStyle = 0;
    WindowStyles(props, p.embedded, &style, &exStyle);
    int left = p.left;
    int top = p.top;
    if (!p.embedded) {
        if (props.startPosition == 1) {
            left = (GetSystemMetrics(SM_CXSCREEN) - p.width) / 2;
            top = (GetSystemMetrics(SM_CYSCREEN) - p.height) / 2;
        } else if (props.startPosition == 2) {
            style |= WS_MINIMIZE;
        } else if (props.startPosition == 3 && Resizable(props)) {
            style |= WS_MAXIMIZE;
        }
    }
    HWND parent = p.parent;
    if (p.embedded) {
        style = (style | WS_CHILD) & ~static_cast<DWORD>(WS_THICKFRAME);
    } else if (parent != nullptr) {
        style |= WS_POPUP;
    } else if ((p.modal || !props.inTaskBar) && g_runtime.programKind != 0) {
        parent = g_runtime.hiddenWindow;  // as owner: kept out of the task bar
    }

    const char* className = props.className.empty() ? kDefaultClassName : props.className.c_str();
    if (!EnsureWindowClass(className)) return nullptr;

    auto* o = new WindowObject();
    TieToUnit(o, DT_WINDOW, p);
    o->props = props;
    HWND hwnd = CreateWindowExA(exStyle, className, o->props.caption.c_str(), style, left, top,
                                p.width, p.height, parent, p.menu, g_app.instance, o);
    if (hwnd == nullptr) {
        delete o;
        return nullptr;
    }
    if (UnitObjectOf(hwnd) != o) {
        // A class of that name registered by someone else: take the
        // window's messages over.
        o->hwnd = hwnd;
        o->baseProc = reinterpret_cast<WNDPROC>(
            SetWindowLongA(hwnd, GWL_WNDPROC, reinterpret_cast<LONG>(WindowUnitProc)));
        AttachUnitObject(hwnd, o);
    }
    RECT rect;
    GetWindowRect(hwnd, &rect);
    if (!(style & (WS_MINIMIZE | WS_MAXIMIZE)) &&
        (rect.right - rect.left != p.width || rect.bottom - rect.top != p.height)) {
        MoveWindow(hwnd, rect.left, rect.top, p.width, p.height, FALSE);
    }
    ApplyIcons(o);
    MakeBrush(o);
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    if (o->props.alwaysOnTop) PlaceOnTop(o);
    ApplyCloseCommand(o);
    StartWindowMusic(o);
    return o;
}

std::vector<uint8_t> StoreWindowBlock(UnitObject* object) {
    return WriteWindowProps(AsWindow(object)->props);
}

const WindowProps* WindowOptions(UnitObject* object) {
    return &AsWindow(object)->props;
}

std::vector<uint8_t> RebuildWindowTexts(const uint8_t* block, uint32_t length, TextVisitor visit,
                                        void* context) {
    WindowProps props;
    if (!ReadWindowProps(block, length, &props)) return {};
    visit(&props.caption, context);
    return WriteWindowProps(props);
}

// ---- the property table -------------------------------------------------------

// A window is never made again for a property: every update answers false.
using Rows = PropertyRows<WindowObject>;

bool ShowCaption(WindowObject* o) {
    SetWindowTextA(o->hwnd, o->props.caption.c_str());
    return false;
}

bool ShowFrame(WindowObject* o) {
    Restyle(o);
    return false;
}

bool ShowBackColour(WindowObject* o) {
    MakeBrush(o);
    return Rows::Repaint(o);
}

// The sound plays from the window's own byte set, so it stops before the
// set is replaced.
void ReplaceMusic(WindowObject* o, const PropertyValue& v) {
    StopWindowMusic(o);
    o->props.music = v.bytes;
}

bool StartMusic(WindowObject* o) {
    StartWindowMusic(o);
    return false;
}

bool RestartMusic(WindowObject* o) {
    StopWindowMusic(o);
    StartWindowMusic(o);
    return false;
}

bool ShowCloseCommand(WindowObject* o) {
    ApplyCloseCommand(o);
    return false;
}

bool ShowIcons(WindowObject* o) {
    ApplyIcons(o);
    return false;
}

bool ShowOnTop(WindowObject* o) {
    PlaceOnTop(o);
    return false;
}

// Rows without an update take effect when they are next used (keys, help,
// the task bar and the class name at the next load).
constexpr Rows::Row kWindowRows[] = {
    Rows::Field<&WindowProps::caption>(kWindowCaption, kKindText, ShowCaption),
    Rows::Field<&WindowProps::borderStyle>(kWindowBorder, kKindChoice, ShowFrame),
    Rows::Field<&WindowProps::backColour>(kWindowBackColour, kKindColour, ShowBackColour),
    Rows::Field<&WindowProps::picture>(kWindowPicture, kKindPicture, Rows::Repaint),
    Rows::Field<&WindowProps::pictureMode>(kWindowPictureMode, kKindChoice, Rows::Repaint),
    {kWindowMusic, kKindSound, Rows::ReadField<&WindowProps::music>, ReplaceMusic, StartMusic},
    Rows::Field<&WindowProps::musicMode>(kWindowMusicMode, kKindChoice, RestartMusic),
    Rows::Field<&WindowProps::controlBox>(kWindowControlBox, kKindLogical, ShowFrame),
    Rows::Field<&WindowProps::maxButton>(kWindowMaxButton, kKindLogical, ShowFrame),
    Rows::Field<&WindowProps::minButton>(kWindowMinButton, kKindLogical, ShowFrame),
    Rows::Field<&WindowProps::startPosition>(kWindowStartPosition, kKindChoice),
    Rows::Field<&WindowProps::closeAllowed>(kWindowCloseAllowed, kKindLogical, ShowCloseCommand),
    Rows::Field<&WindowProps::icon>(kWindowIcon, kKindIcon, ShowIcons),
    Rows::Field<&WindowProps::enterMovesFocus>(kWindowEnterMovesFocus, kKindLogical),
    Rows::Field<&WindowProps::escapeCloses>(kWindowEscapeCloses, kKindLogical),
    Rows::Field<&WindowProps::f1Help>(kWindowF1Help, kKindLogical),
    Rows::Field<&WindowProps::helpFile>(kWindowHelpFile, kKindFileName),
    Rows::Field<&WindowProps::helpTopic>(kWindowHelpTopic, kKindInteger),
    Rows::Field<&WindowProps::inTaskBar>(kWindowInTaskBar, kKindLogical),
    Rows::Element<&WindowProps::options, 0>(kWindowOption27, kKindInteger),
    Rows::Element<&WindowProps::options, 1>(kWindowOption28, kKindInteger),
    Rows::Field<&WindowProps::alwaysOnTop>(kWindowAlwaysOnTop, kKindLogical, ShowOnTop),
    Rows::Field<&WindowProps::option30>(kWindowOption30, kKindInteger),
    Rows::Field<&WindowProps::className>(kWindowClassName, kKindText),
};
static_assert(RowsInNumberOrder(kWindowRows), "row i holds property 8 + i");

constexpr UnitRoutines kWindowRoutines = {CreateWindowUnit, StoreWindowBlock, RebuildWindowTexts,
                                          WindowOptions,    nullptr,          nullptr};

// ---- the window procedure --------------------------------------------------

bool IsRefusal(const EventOutcome& outcome) {
    return outcome.resultPresent && outcome.result == 0;
}

void EraseBackground(WindowObject* o, HDC dc) {
    RECT client;
    GetClientRect(o->hwnd, &client);
    FillRect(dc, &client, o->brush != nullptr ? o->brush : GetSysColorBrush(COLOR_BTNFACE));
}

// The notification-area callback's mouse action as the event's argument.
uint32_t TrayAction(LPARAM action) {
    switch (static_cast<UINT>(action)) {
        case WM_LBUTTONUP:
            return 1;
        case WM_LBUTTONDBLCLK:
            return 2;
        case WM_RBUTTONUP:
        case WM_CONTEXTMENU:
            return 3;
        default:
            return 0;
    }
}

LRESULT Reflect(HWND control, UINT message, WPARAM wParam, LPARAM lParam, bool* handled) {
    UnitObject* target = UnitObjectOf(control);
    if (target == nullptr || target->reflect == nullptr) return 0;
    return target->reflect(target, message, wParam, lParam, handled);
}

LRESULT Default(WindowObject* o, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (o != nullptr && o->baseProc != nullptr)
        return CallWindowProcA(o->baseProc, hwnd, message, wParam, lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK WindowUnitProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const CREATESTRUCTA* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (auto* o = static_cast<WindowObject*>(cs->lpCreateParams)) {
            o->hwnd = hwnd;
            AttachUnitObject(hwnd, o);
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    auto* o = static_cast<WindowObject*>(UnitObjectOf(hwnd));
    if (o == nullptr || o->unitType != DT_WINDOW)
        return DefWindowProcA(hwnd, message, wParam, lParam);

    switch (message) {
        case WM_COMMAND:
            // From the menu (0) or an accelerator (1) rather than a control.
            if (lParam == 0 && HIWORD(wParam) <= 1 && ChooseMenuItem(o->windowId, LOWORD(wParam)))
                return 0;
            [[fallthrough]];
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            if (lParam != 0) {
                bool handled = false;
                LRESULT answer =
                    Reflect(reinterpret_cast<HWND>(lParam), message, wParam, lParam, &handled);
                if (handled) return answer;
            }
            return Default(o, hwnd, message, wParam, lParam);
        }
        case WM_ERASEBKGND:
            EraseBackground(o, reinterpret_cast<HDC>(wParam));
            return 1;
        case WM_CLOSE:
            if (IsRefusal(RaiseUnitEvent(o, kWindowCloseQuery))) return 0;
            if (IsWindow(hwnd)) DestroyWindow(hwnd);
            return 0;
        case WM_QUERYENDSESSION:
            return IsRefusal(RaiseUnitEvent(o, kWindowCloseQuery)) ? FALSE : TRUE;
        case WM_SYSCOMMAND:
            // The close command was taken out of the system menu; nothing
            // else may give it either.
            if ((wParam & 0xFFF0) == SC_CLOSE && !o->props.closeAllowed) return 0;
            return Default(o, hwnd, message, wParam, lParam);
        case WM_DESTROY: {
            MarkBeingDestroyed(hwnd);
            RaiseUnitEvent(o, kWindowDestroyed);
            CloseWindowHelp(o);
            StopWindowMusic(o);
            HMENU menu = IsWindow(hwnd) ? GetMenu(hwnd) : nullptr;
            if (menu != nullptr) {
                SetMenu(hwnd, nullptr);
                DestroyMenu(menu);
            }
            return Default(o, hwnd, message, wParam, lParam);
        }
        case WM_NCDESTROY:
            return EndUnitObject(o, hwnd, message, wParam, lParam);
        case WM_DPICHANGED:
            RescaleWindow(o, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_MOVE:
            RaiseUnitEvent(o, kWindowMoved);
            return 0;
        case WM_SIZE:
            RaiseUnitEvent(o, kWindowSized);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus != nullptr && IsChild(hwnd, focus)) o->lastFocus = focus;
                RaiseUnitEvent(o, kWindowDeactivated);
                return 0;
            }
            if (!o->activatedOnce) {
                o->activatedOnce = true;
                RaiseUnitEvent(o, kWindowFirstActivation);
                if (UnitObjectOf(hwnd) != o) return 0;
            }
            RaiseUnitEvent(o, kWindowActivated);
            if (UnitObjectOf(hwnd) == o && HIWORD(wParam) == 0) RestoreWindowFocus(o, o->lastFocus);
            return 0;
        case WM_SHOWWINDOW:
            RaiseUnitEvent(o, wParam ? kWindowShown : kWindowHidden);
            return Default(o, hwnd, message, wParam, lParam);
        case WM_SETFOCUS:
            RaiseUnitEvent(o, kEventGotFocus);
            return 0;
        case WM_KILLFOCUS:
            RaiseUnitEvent(o, kEventLostFocus);
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) {
                if (HCURSOR cursor = UnitCursorOf(UnitObjectOf(reinterpret_cast<HWND>(wParam)))) {
                    SetCursor(cursor);
                    return TRUE;
                }
            }
            return Default(o, hwnd, message, wParam, lParam);
        default:
            break;
    }
    if (message == kMsgTrayIcon) {
        uint32_t action = TrayAction(lParam);
        if (action != 0) RaiseUnitEvent(o, kWindowTrayIcon, {action});
        return 0;
    }
    if (message == kMsgCloseRequest) {
        if (IsWindowClosing(o->windowId)) DestroyWindow(hwnd);
        return 0;
    }
    return Default(o, hwnd, message, wParam, lParam);
}

}  // namespace

void WindowStyles(const WindowProps& props, bool embedded, DWORD* style, DWORD* exStyle) {
    if (props.borderStyle != 0) {
        if (!props.caption.empty() || props.controlBox) *style |= WS_CAPTION;
        if (props.controlBox) *style |= WS_SYSMENU;
        if (!embedded) *style |= WS_DLGFRAME;
    }
    if (Resizable(props)) *style |= WS_THICKFRAME;
    if (props.borderStyle == 3 || props.borderStyle == 4) *exStyle |= WS_EX_TOOLWINDOW;
    if (props.borderStyle == 5 || props.borderStyle == 6) *exStyle |= WS_EX_CLIENTEDGE;
    if (embedded) *exStyle |= WS_EX_DLGMODALFRAME;
    if (props.maxButton) *style |= WS_MAXIMIZEBOX;
    if (props.minButton) *style |= WS_MINIMIZEBOX;
}

WindowObject::~WindowObject() {
    if (bigIcon != nullptr) DestroyIcon(bigIcon);
    if (smallIcon != nullptr) DestroyIcon(smallIcon);
    if (brush != nullptr) DeleteObject(brush);
}

const UnitKindEntry kWindowKind = KindEntry<kWindowRows, kWindowRoutines>();
