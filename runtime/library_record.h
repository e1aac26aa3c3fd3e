// The formats of the program image that describe a library: the library
// record, its data type descriptors (a unit kind is one of these) and their
// property descriptors. All fields are 32-bit words, as stored.
#pragma once

#include <cstdint>

#include "runtime/abi.h"
#include "runtime/command.h"
#include "runtime/notify.h"

constexpr Word kLibraryRecordMark = 0x01312D65;

// Five words describing one property of a unit kind.
struct PropertyDescriptor {
    Word names[3];  // not used by this program (0)
    Word type;      // low 16 bits: value kind; high 16 bits: 0xE000 common, 0x800x own
    Word reserved;  // 0
};
static_assert(sizeof(PropertyDescriptor) == 20, "five words");

// Property value kinds (low 16 bits of PropertyDescriptor::type).
inline uint32_t PropertyKind(const PropertyDescriptor& p) { return p.type & 0xFFFF; }

// The unit kind's interface function: operation number -> routine or null.
using UnitInterface = void* (*)(int32_t operation);

// Fourteen words; an all-zero descriptor is an unused slot.
struct DataTypeDescriptor {
    const char* chineseName;                // word 0
    const char* englishName;                // word 1
    Word reserved2[3];                      // words 2-4
    Word flags;                             // word 5
    Word reserved6[3];                      // words 6-8
    Word propertyCount;                     // word 9
    const PropertyDescriptor* properties;   // word 10
    UnitInterface unitInterface;            // word 11
    Word reserved12[2];                     // words 12-13
};
static_assert(sizeof(DataTypeDescriptor) == 56, "fourteen words");

// Flag bits of DataTypeDescriptor::flags the form runtime tests.
constexpr Word kTypeRaisesEvents = 0x44;  // either bit: the kind raises events
constexpr Word kTypeNeverShown = 0x8000;  // never shown when its window loads
constexpr Word kTypeDefaultButton = 0x800;
constexpr Word kTypeContainer = 0x100;

// Thirty-six words.
struct LibraryRecord {
    Word mark;                              // 0: kLibraryRecordMark
    const char* identifier;                 // 1
    Word versionMajor, versionMinor, build; // 2-4
    Word versionPairs[4];                   // 5-8
    const char* name;                       // 9
    Word word10, word11;                    // 10-11
    Word flags;                             // 12
    Word reserved13[8];                     // 13-20
    Word typeCount;                         // 21
    const DataTypeDescriptor* types;        // 22
    Word reserved23[2];                     // 23-24
    Word commandCount;                      // 25
    Word reserved26;                        // 26
    const CommandEntry* commands;           // 27
    Word reserved28[2];                     // 28-29
    LibraryNotifyEntry notify;              // 30
    Word reserved31[5];                     // 31-35
};
static_assert(sizeof(LibraryRecord) == 144, "thirty-six words");
