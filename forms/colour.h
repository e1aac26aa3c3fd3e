// Stored colours: 0x00BBGGRR, or the value below, which stands for the
// system's button-face colour wherever a unit uses the colour.
#pragma once

#include <cstdint>

constexpr uint32_t kDefaultColour = 0xFF000000;
