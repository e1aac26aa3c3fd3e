// How a control places its text: the choice values of the alignment
// properties of edit boxes, labels and buttons.
#pragma once

#include <cstdint>

enum HorizontalAlign : int32_t {
    kAlignLeft = 0,
    kAlignCentre = 1,
    kAlignRight = 2,
};

enum VerticalAlign : int32_t {
    kAlignTop = 0,
    kAlignMiddle = 1,
    kAlignBottom = 2,
};
