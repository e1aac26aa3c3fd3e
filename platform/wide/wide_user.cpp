// Resources, menus, message boxes, the help viewer and sound through their
// W functions.
#define DROPEDIT_WIDE_LAYER
#include <string>

#include "platform/wide/wide_text.h"
#include "platform/win32_wide.h"

namespace wide {

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
    WideName wideName(name);
    return LoadCursorW(instance, wideName.get());
}

HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
    WideName wideName(name);
    return LoadIconW(instance, wideName.get());
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text) {
    // A bitmap or owner-drawn item carries a handle or a value, not a text.
    if ((flags & (MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR)) != 0 || text == nullptr)
        return AppendMenuW(menu, flags, id, reinterpret_cast<LPCWSTR>(text));
    std::wstring wideText = Widen(text);
    return AppendMenuW(menu, flags, id, wideText.c_str());
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    std::wstring wideText = Widen(text);
    std::wstring wideCaption = Widen(caption);
    // A null caption asks for the system's "Error" title, as with MessageBoxA.
    return MessageBoxW(owner, wideText.c_str(), caption != nullptr ? wideCaption.c_str() : nullptr,
                       type);
}

BOOL WinHelpA(HWND window, LPCSTR helpFile, UINT command, ULONG_PTR data) {
    if (helpFile == nullptr) return WinHelpW(window, nullptr, command, data);
    std::wstring file = Widen(helpFile);
    return WinHelpW(window, file.c_str(), command, data);
}

BOOL PlaySoundA(LPCSTR sound, HMODULE module, DWORD flags) {
    // From memory (or a stop) the pointer is a sound image, not a name.
    if (sound == nullptr || (flags & SND_MEMORY) != 0 ||
        ((flags & SND_RESOURCE) != 0 && IS_INTRESOURCE(sound)))
        return PlaySoundW(reinterpret_cast<LPCWSTR>(sound), module, flags);
    std::wstring name = Widen(sound);
    return PlaySoundW(name.c_str(), module, flags);
}

}  // namespace wide
