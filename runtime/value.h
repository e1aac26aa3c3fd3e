// Typed values: the 12-byte ArgValue record, the type tags, and the memory
// layout of texts, byte sets and arrays shared by program code, the runtime
// and support libraries.
#pragma once

#include <cstdint>
#include <cstring>

#include "runtime/abi.h"

// System type tags. Numbers have 1 in the lowest byte and their kind in the
// second byte; other system types carry their kind in the lowest byte.
constexpr uint32_t DT_BYTE = 0x80000101;
constexpr uint32_t DT_SHORT = 0x80000201;
constexpr uint32_t DT_INT = 0x80000301;
constexpr uint32_t DT_LONG = 0x80000401;
constexpr uint32_t DT_FLOAT = 0x80000501;
constexpr uint32_t DT_DOUBLE = 0x80000601;
constexpr uint32_t DT_BOOL = 0x80000002;
constexpr uint32_t DT_DATE_TIME = 0x80000003;
constexpr uint32_t DT_TEXT = 0x80000004;
constexpr uint32_t DT_BIN = 0x80000005;
constexpr uint32_t DT_SUB_PTR = 0x80000006;
// ORed into a system tag: an array of that element type.
constexpr uint32_t DT_ARRAY = 0x20000000;
// Tag 0: an omitted optional argument.
constexpr uint32_t DT_NONE = 0;

// Library types: library number (1-based) high, data type number low.
constexpr uint32_t DT_WINDOW = 0x00010001;
constexpr uint32_t DT_EDIT_BOX = 0x00010005;
constexpr uint32_t DT_LABEL = 0x0001000A;
constexpr uint32_t DT_BUTTON = 0x0001000B;
constexpr uint32_t DT_SQLITEDB = 0x00020001;

// A typed value as it is passed between program code and commands.
struct ArgValue {
    Word low;   // value low word (or the whole 32-bit value / an address)
    Word high;  // value high word (64-bit integers and doubles)
    uint32_t type;  // type tag; 0 marks an omitted argument
};
static_assert(sizeof(ArgValue) == 12, "ArgValue is three words");

// Type classes: 0 none, 1 system (top bits 10), 2 the unused third class (01),
// 3 library types (00, tag not 0).
inline int TypeClass(uint32_t tag) {
    if (tag == 0) return 0;
    switch (tag >> 30) {
        case 2: return 1;
        case 1: return 2;
        default: return 3;
    }
}

inline bool IsNumericType(uint32_t tag) { return TypeClass(tag) == 1 && (tag & 0xFF) == 1; }

// Byte width of a numeric tag; 0 for every other tag.
inline uint32_t TypeSize(uint32_t tag) {
    switch (tag) {
        case DT_BYTE: return 1;
        case DT_SHORT: return 2;
        case DT_INT: return 4;
        case DT_LONG: return 8;
        case DT_FLOAT: return 4;
        case DT_DOUBLE: return 8;
        default: return 0;
    }
}

inline bool IsArrayType(uint32_t tag) { return TypeClass(tag) == 1 && (tag & DT_ARRAY) != 0; }
inline uint32_t ElementType(uint32_t tag) { return tag & ~DT_ARRAY; }

// ---- ArgValue accessors -------------------------------------------------

inline ArgValue MakeInt(int32_t v) { return ArgValue{static_cast<Word>(v), 0, DT_INT}; }
inline ArgValue MakeBool(bool v) { return ArgValue{v ? 1u : 0u, 0, DT_BOOL}; }
inline ArgValue MakeText(const char* text) { return ArgValue{ToWord(text), 0, DT_TEXT}; }
inline ArgValue MakeByteSet(const void* block) { return ArgValue{ToWord(block), 0, DT_BIN}; }
inline ArgValue MakeOmitted() { return ArgValue{0, 0, DT_NONE}; }

inline ArgValue MakeLong(int64_t v) {
    uint64_t u = static_cast<uint64_t>(v);
    return ArgValue{static_cast<Word>(u), static_cast<Word>(u >> 32), DT_LONG};
}

inline ArgValue MakeDouble(double v) {
    uint64_t u;
    std::memcpy(&u, &v, sizeof u);
    return ArgValue{static_cast<Word>(u), static_cast<Word>(u >> 32), DT_DOUBLE};
}

inline int32_t ValueInt(const ArgValue& v) { return static_cast<int32_t>(v.low); }

inline int64_t ValueLong(const ArgValue& v) {
    return static_cast<int64_t>((static_cast<uint64_t>(v.high) << 32) | v.low);
}

inline double ValueDouble(const ArgValue& v) {
    uint64_t u = (static_cast<uint64_t>(v.high) << 32) | v.low;
    double d;
    std::memcpy(&d, &u, sizeof d);
    return d;
}

inline float ValueFloat(const ArgValue& v) {
    float f;
    std::memcpy(&f, &v.low, sizeof f);
    return f;
}

inline const char* ValueText(const ArgValue& v) { return FromWord<const char>(v.low); }

// ---- Texts --------------------------------------------------------------
// A text is a zero-terminated GBK string; null and "" are both empty.

inline bool TextIsEmpty(const char* text) { return text == nullptr || text[0] == '\0'; }

// ---- Byte sets ----------------------------------------------------------
// Block: int32 1 (dimension count), int32 length n, then n bytes. Null and a
// block of length 0 are both empty.

constexpr uint32_t kByteSetHeader = 8;

inline int32_t ByteSetLength(const void* block) {
    if (block == nullptr) return 0;
    int32_t length;
    std::memcpy(&length, static_cast<const uint8_t*>(block) + 4, 4);
    return length;
}

inline const uint8_t* ByteSetData(const void* block) {
    return static_cast<const uint8_t*>(block) + kByteSetHeader;
}

inline uint8_t* ByteSetData(void* block) { return static_cast<uint8_t*>(block) + kByteSetHeader; }

// ---- Arrays -------------------------------------------------------------
// Block: int32 dimension count d, d int32 sizes, then the elements in row
// order. Text, byte set and array elements are 4-byte addresses.

inline int32_t ArrayDimCount(const void* block) { return static_cast<const int32_t*>(block)[0]; }

inline const int32_t* ArrayDims(const void* block) { return static_cast<const int32_t*>(block) + 1; }

inline uint32_t ArrayElementCount(const void* block) {
    int32_t dims = ArrayDimCount(block);
    uint32_t count = 1;
    for (int32_t i = 0; i < dims; ++i) count *= static_cast<uint32_t>(ArrayDims(block)[i]);
    return count;
}

inline uint32_t ArrayHeaderSize(const void* block) {
    return 4 + 4 * static_cast<uint32_t>(ArrayDimCount(block));
}

inline void* ArrayElements(void* block) { return static_cast<uint8_t*>(block) + ArrayHeaderSize(block); }

inline const void* ArrayElements(const void* block) {
    return static_cast<const uint8_t*>(block) + ArrayHeaderSize(block);
}

// Element width in an array block: numeric tags at their TypeSize, every
// other element type as a 4-byte address (logicals and dates at 4 and 8).
inline uint32_t ArrayElementSize(uint32_t elementType) {
    if (IsNumericType(elementType)) return TypeSize(elementType);
    if (elementType == DT_DATE_TIME) return 8;
    return 4;
}

// ---- Constant empty values ----------------------------------------------
// Passed instead of null by callers whose variable is empty; the memory
// services never release them.
extern const char* const kEmptyText;
extern const void* const kEmptyByteSet;
