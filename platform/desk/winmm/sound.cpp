#include <cstdint>
#include <cstring>
#include <string>

#include "platform/desk/kernel32/log.h"
#include "platform/win32.h"

namespace {

// The length a RIFF image gives itself (the 8-byte head plus its size
// word); 0 when the bytes do not start like one.
uint32_t RiffLength(const char* image) {
    if (std::memcmp(image, "RIFF", 4) != 0) return 0;
    uint32_t size = 0;
    std::memcpy(&size, image + 4, 4);
    return size + 8;
}

}  // namespace

BOOL PlaySoundA(LPCSTR sound, HMODULE, DWORD flags) {
    if (sound == nullptr) {
        desk::LogLine("{\"event\":\"sound\",\"stop\":true}");
        return TRUE;
    }
    std::string line = "{\"event\":\"sound\",\"flags\":" + std::to_string(flags);
    if (flags & SND_MEMORY) line += ",\"bytes\":" + std::to_string(RiffLength(sound));
    desk::LogLine(line + "}");
    return TRUE;
}
