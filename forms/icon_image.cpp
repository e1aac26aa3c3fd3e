// Icon and cursor file images: a six-byte head (0, type 1 icon or 2 cursor,
// picture count), a 16-byte entry per picture (width, height, colours,
// reserved, two words that are planes and bit count for an icon or the hot
// spot for a cursor, byte count, offset), then the pictures. Every entry is
// checked against the image's length before its picture is used.
#include "forms/icon_image.h"

#include <cstring>
#include <vector>

namespace {

constexpr DWORD kIconResourceVersion = 0x00030000;

struct Picture {
    uint32_t offset;
    uint32_t length;
    int width;
    uint16_t word1;  // planes, or the cursor's hot spot x
    uint16_t word2;  // bit count, or the hot spot y
};

uint16_t Half(const uint8_t* at) {
    return static_cast<uint16_t>(at[0] | (at[1] << 8));
}
uint32_t Word32(const uint8_t* at) {
    return Half(at) | (static_cast<uint32_t>(Half(at + 2)) << 16);
}

bool FindPicture(const uint8_t* image, uint32_t length, uint16_t type, int size, Picture* out) {
    if (image == nullptr || length < 6 || Half(image) != 0 || Half(image + 2) != type) return false;
    uint32_t count = Half(image + 4);
    if (count == 0 || count > (length - 6) / 16) return false;
    bool found = false;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* entry = image + 6 + 16 * i;
        Picture p = {Word32(entry + 12), Word32(entry + 8), entry[0] == 0 ? 256 : entry[0],
                     Half(entry + 4), Half(entry + 6)};
        if (p.offset > length || p.length > length - p.offset || p.length == 0) continue;
        if (!found || p.width == size) {
            *out = p;
            found = true;
        }
        if (p.width == size) break;
    }
    return found;
}

}  // namespace

HICON IconFromFileImage(const uint8_t* image, uint32_t length, int size) {
    Picture p;
    if (!FindPicture(image, length, 1, size, &p)) return nullptr;
    std::vector<BYTE> bits(image + p.offset, image + p.offset + p.length);
    return CreateIconFromResourceEx(bits.data(), p.length, TRUE, kIconResourceVersion, size, size,
                                    0);
}

HCURSOR CursorFromFileImage(const uint8_t* image, uint32_t length) {
    Picture p;
    if (!FindPicture(image, length, 2, 0, &p)) return nullptr;
    // A cursor resource starts with its hot spot; the file keeps it in the entry.
    std::vector<BYTE> bits(4 + p.length);
    bits[0] = static_cast<BYTE>(p.word1);
    bits[1] = static_cast<BYTE>(p.word1 >> 8);
    bits[2] = static_cast<BYTE>(p.word2);
    bits[3] = static_cast<BYTE>(p.word2 >> 8);
    std::memcpy(bits.data() + 4, image + p.offset, p.length);
    return static_cast<HCURSOR>(CreateIconFromResourceEx(
        bits.data(), static_cast<DWORD>(bits.size()), FALSE, kIconResourceVersion, 0, 0, 0));
}
