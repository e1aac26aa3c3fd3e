// Property value kinds: the low 16 bits of a property descriptor's type
// word say how the property services pass the value. Properties 0 to 7
// (left, top, width, height, tag, visible, disabled, mouse cursor) are
// common to every unit; 8 and up are the unit kind's own.
#pragma once

#include <cstdint>

enum PropertyKind : uint32_t {
    kKindInteger = 1000,
    kKindInteger2 = 1001,
    kKindDouble = 1002,
    kKindLogical = 1003,
    kKindDateTime = 1004,
    kKindText = 1005,
    kKindChoice = 1006,
    kKindFileName = 1007,
    kKindText8 = 1008,
    kKindPicture = 1009,
    kKindIcon = 1010,
    kKindCursor = 1011,
    kKindSound = 1012,
    kKindFont = 1013,
    kKindColour = 1014,
    kKindBackColour = 1015,
    kKindDataSource = 1016,
    kKindColour2 = 1017,
    kKindDataColumn = 1018,
    kKindText19 = 1019,
    kKindText20 = 1020,
    kKindText21 = 1021,
    kKindText22 = 1022,
    kKindBytes23 = 1023,
    kKindBytes24 = 1024,
};

// High halves of the type word.
constexpr uint32_t kCommonProperty = 0xE000u << 16;
constexpr uint32_t kOwnProperty = 0x8000u << 16;

inline bool IsTextKind(uint32_t kind) {
    return kind == kKindText || kind == kKindFileName || kind == kKindText8 ||
           kind == kKindDataSource || (kind >= kKindDataColumn && kind <= kKindText22);
}
inline bool IsByteSetKind(uint32_t kind) {
    return (kind >= kKindPicture && kind <= kKindSound) || kind == kKindBytes23 ||
           kind == kKindBytes24;
}
inline bool IsEightByteKind(uint32_t kind) {
    return kind == kKindDouble || kind == kKindDateTime;
}

// Indexes of the common properties.
enum CommonProperty : int32_t {
    kPropLeft = 0,
    kPropTop = 1,
    kPropWidth = 2,
    kPropHeight = 3,
    kPropTag = 4,
    kPropVisible = 5,
    kPropDisabled = 6,
    kPropCursor = 7,
    kFirstOwnProperty = 8,
};

// Font parts chosen by a property access's sub-index.
enum FontPart : int32_t {
    kFontWhole = -1,
    kFontAngle = 0,
    kFontBold = 1,
    kFontItalic = 2,
    kFontStrikeOut = 3,
    kFontUnderline = 4,
    kFontSize = 5,
    kFontFace = 6,
};
