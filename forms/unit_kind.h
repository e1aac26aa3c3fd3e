// Unit kinds as the form runtime drives them. Each kind's data type
// descriptor (in the core library record) holds an interface function that
// hands out the kind's routines by operation number; the loader, property
// access and the key handling ask for them there and nowhere else.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "forms/font_set.h"
#include "forms/unit_object.h"
#include "platform/win32.h"
#include "runtime/library_record.h"

struct WindowProps;

enum UnitOperationNumber : int32_t {
    kOpCreate = 1,            // create the control from a property block
    kOpSetProperty = 4,       // set an own property (index minus 8) on the live control
    kOpStoreBlock = 5,        // the live control's values as a property block
    kOpGetProperty = 6,       // get an own property (index minus 8) from the live control
    kOpWindowOptions = 7,     // window only: the window's stored options
    kOpTakesEnter = 8,        // the control takes the Enter key itself
    kOpRebuildTexts = 9,      // captions and font faces passed through a routine
    kOpIsDefaultButton = 10,  // the control is a default button
};

// What the create operation receives from the loader.
struct CreateParams {
    const uint8_t* block;  // the property block ...
    uint32_t length;       // ... and its length
    DWORD style;           // style bits chosen by the loader (WS_DISABLED, WS_TABSTOP)
    HWND parent;           // the window for a control; for a window its parent or null
    int controlId;         // controls only
    HMENU menu;            // the window only
    int left, top, width, height;  // in pixels at `dpi`
    uint32_t windowId;
    uint32_t unitId;
    bool embedded;  // window only: created as a child of another window
    bool modal;     // window only: loaded as a modal window
    int dpi;        // the display scale to lay the unit out for (fonts included)
};

// A property value on its way between the two property services and a
// unit kind. Which member counts depends on the property's value kind.
struct PropertyValue {
    Word low = 0;                // integers, choices, colours, logicals; low word of 8 bytes
    Word high = 0;               // high word of floating-point and date-time values
    std::string text;            // texts
    std::vector<uint8_t> bytes;  // byte sets
    FontSet font = {};           // fonts; not present: the default GUI font
};

inline PropertyValue WordValue(Word word) {
    PropertyValue v;
    v.low = word;
    return v;
}
inline PropertyValue IntValue(int32_t value) {
    return WordValue(static_cast<Word>(value));
}
inline PropertyValue TextValue(const std::string& text) {
    PropertyValue v;
    v.text = text;
    return v;
}
inline PropertyValue BytesValue(const std::vector<uint8_t>& bytes) {
    PropertyValue v;
    v.bytes = bytes;
    return v;
}
inline PropertyValue FontValue(const FontSet& font) {
    PropertyValue v;
    v.font = font;
    return v;
}
inline int32_t ValueInt(const PropertyValue& v) {
    return static_cast<int32_t>(v.low);
}

using CreateRoutine = UnitObject* (*)(const CreateParams& params);
// Answers whether the control must be re-created for the change to show.
using SetPropertyRoutine = bool (*)(UnitObject* object, int32_t ownIndex,
                                    const PropertyValue& value);
using StoreBlockRoutine = std::vector<uint8_t> (*)(UnitObject* object);
// False for an index the kind does not have.
using GetPropertyRoutine = bool (*)(UnitObject* object, int32_t ownIndex, PropertyValue* value);
using WindowOptionsRoutine = const WindowProps* (*)(UnitObject* window);
using TakesEnterRoutine = bool (*)(UnitObject* object);
// Called for every caption text and font face name; it may change the text.
using TextVisitor = void (*)(std::string* text, void* context);
// The rebuilt block; empty when the block cannot be read.
using RebuildTextsRoutine = std::vector<uint8_t> (*)(const uint8_t* block, uint32_t length,
                                                     TextVisitor visit, void* context);
using IsDefaultButtonRoutine = bool (*)(UnitObject* object);

// A new object learns which unit it is (its type, window and unit ids).
void TieToUnit(UnitObject* object, Word unitType, const CreateParams& params);

// Passes a stored font's face name through the visitor and keeps what it
// gives back (up to 31 bytes); an absent font has none.
void VisitFontFace(FontSet* font, TextVisitor visit, void* context);

// The descriptor of a unit type (library number high, type number low) in
// the program's library list; null when the slot is empty or out of range.
const DataTypeDescriptor* FindUnitKind(Word unitType);

// The kind's routine for an operation, or null.
template <typename Routine>
Routine KindOperation(const DataTypeDescriptor* kind, UnitOperationNumber operation) {
    if (kind == nullptr || kind->unitInterface == nullptr) return nullptr;
    return reinterpret_cast<Routine>(kind->unitInterface(operation));
}

template <typename Routine>
Routine UnitOperation(const UnitObject* object, UnitOperationNumber operation) {
    return object != nullptr ? KindOperation<Routine>(FindUnitKind(object->unitType), operation)
                             : nullptr;
}

// The four kinds' property tables and interface functions go into the core
// library record; called once at start.
void InstallUnitKinds();
