#include "forms/window_music.h"

#include <cstring>

namespace {

const WindowObject* g_playing = nullptr;  // whose music the platform plays

}  // namespace

bool IsWholeRiffImage(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0) return false;
    uint32_t size = 0;
    std::memcpy(&size, bytes.data() + 4, 4);
    return size <= bytes.size() - 8;
}

void StartWindowMusic(WindowObject* window) {
    const WindowProps& p = window->props;
    if ((p.musicMode != 0 && p.musicMode != 1) || !IsWholeRiffImage(p.music)) return;
    DWORD flags = SND_MEMORY | SND_ASYNC | SND_NODEFAULT | (p.musicMode == 0 ? SND_LOOP : 0);
    if (PlaySoundA(reinterpret_cast<LPCSTR>(p.music.data()), nullptr, flags)) g_playing = window;
}

void StopWindowMusic(WindowObject* window) {
    if (g_playing != window) return;
    // The sound plays from the window's own byte set: it must stop before
    // the set is changed or freed.
    PlaySoundA(nullptr, nullptr, 0);
    g_playing = nullptr;
}
