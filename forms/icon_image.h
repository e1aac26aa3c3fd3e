// Icons and cursors made from icon (.ico) and cursor (.cur) file images, as
// the window's icon and the units' mouse cursors store them.
#pragma once

#include <cstdint>

#include "platform/win32.h"

// The picture of the image that is `size` pixels wide (else its first one)
// as an icon; null when the bytes are not an icon file image.
HICON IconFromFileImage(const uint8_t* image, uint32_t length, int size);
// The first picture of a cursor file image, with its hot spot; null when the
// bytes are not one.
HCURSOR CursorFromFileImage(const uint8_t* image, uint32_t length);
