// The property descriptor tables of the four unit kinds (32, 29, 29 and 14
// properties) and their installation into the core library record, with
// the lookup of a unit type's descriptor in the program's library list.
#include <cstring>
#include <string>

#include "forms/button_unit.h"
#include "forms/editbox_unit.h"
#include "forms/label_unit.h"
#include "forms/property_kinds.h"
#include "forms/unit_kind.h"
#include "forms/window_unit.h"
#include "runtime/core_library.h"
#include "runtime/runtime_state.h"

namespace {

constexpr PropertyDescriptor Common(uint32_t kind) {
    return PropertyDescriptor{{0, 0, 0}, kCommonProperty | kind, 0};
}
constexpr PropertyDescriptor Own(uint32_t kind) {
    return PropertyDescriptor{{0, 0, 0}, kOwnProperty | kind, 0};
}

#define COMMON_PROPERTIES                                                                   \
    Common(kKindInteger), Common(kKindInteger), Common(kKindInteger), Common(kKindInteger), \
        Common(kKindText), Common(kKindLogical), Common(kKindLogical), Common(kKindCursor)

const PropertyDescriptor kWindowProperties[32] = {
    COMMON_PROPERTIES,
    Own(kKindText),      // 8 caption
    Own(kKindChoice),    // 9 border style
    Own(kKindColour),    // 10 background colour
    Own(kKindPicture),   // 11 background picture
    Own(kKindChoice),    // 12 background picture mode
    Own(kKindSound),     // 13 background music
    Own(kKindChoice),    // 14 music play mode
    Own(kKindLogical),   // 15 control box
    Own(kKindLogical),   // 16 maximise button
    Own(kKindLogical),   // 17 minimise button
    Own(kKindChoice),    // 18 start position
    Own(kKindLogical),   // 19 close command allowed
    Own(kKindIcon),      // 20 icon
    Own(kKindLogical),   // 21 Enter moves the focus
    Own(kKindLogical),   // 22 Escape closes
    Own(kKindLogical),   // 23 F1 opens help
    Own(kKindFileName),  // 24 help file name
    Own(kKindInteger),   // 25 help topic
    Own(kKindLogical),   // 26 shown in the task bar
    Own(kKindInteger),   // 27 option word
    Own(kKindInteger),   // 28 option word
    Own(kKindLogical),   // 29 always on top
    Own(kKindInteger),   // 30 option word
    Own(kKindText),      // 31 window class name
};

const PropertyDescriptor kEditBoxProperties[29] = {
    COMMON_PROPERTIES,
    Own(kKindText),        // 8 content
    Own(kKindChoice),      // 9 border style
    Own(kKindColour),      // 10 text colour
    Own(kKindBackColour),  // 11 background colour
    Own(kKindFont),        // 12 font
    Own(kKindLogical),     // 13 hide selection
    Own(kKindInteger),     // 14 maximum length
    Own(kKindLogical),     // 15 multi-line
    Own(kKindChoice),      // 16 scroll bars
    Own(kKindChoice),      // 17 alignment
    Own(kKindChoice),      // 18 input mode
    Own(kKindInteger),     // 19 password character
    Own(kKindChoice),      // 20 case conversion
    Own(kKindChoice),      // 21 spin button
    Own(kKindInteger),     // 22 spin minimum
    Own(kKindInteger),     // 23 spin maximum
    Own(kKindInteger),     // 24 selection start
    Own(kKindInteger),     // 25 selection length
    Own(kKindDataSource),  // 26 data source
    Own(kKindDataColumn),  // 27 data column
    Own(kKindText),        // 28 selected text (live only)
};

const PropertyDescriptor kLabelProperties[29] = {
    COMMON_PROPERTIES,
    Own(kKindText),        // 8 caption
    Own(kKindChoice),      // 9 text effect
    Own(kKindChoice),      // 10 border style
    Own(kKindInteger),     // 11 gradient border width
    Own(kKindColour2),     // 12 gradient border colour 1
    Own(kKindColour2),     // 13 gradient border colour 2
    Own(kKindColour2),     // 14 gradient border colour 3
    Own(kKindFont),        // 15 font
    Own(kKindColour),      // 16 text colour
    Own(kKindBackColour),  // 17 background colour
    Own(kKindPicture),     // 18 background picture
    Own(kKindChoice),      // 19 background picture mode
    Own(kKindChoice),      // 20 gradient background mode
    Own(kKindColour2),     // 21 gradient background colour 1
    Own(kKindColour2),     // 22 gradient background colour 2
    Own(kKindColour2),     // 23 gradient background colour 3
    Own(kKindChoice),      // 24 horizontal alignment
    Own(kKindLogical),     // 25 word wrap
    Own(kKindChoice),      // 26 vertical alignment
    Own(kKindDataSource),  // 27 data source
    Own(kKindDataColumn),  // 28 data column
};

const PropertyDescriptor kButtonProperties[14] = {
    COMMON_PROPERTIES,
    Own(kKindPicture),  // 8 picture
    Own(kKindChoice),   // 9 button type
    Own(kKindText),     // 10 caption
    Own(kKindChoice),   // 11 horizontal alignment
    Own(kKindChoice),   // 12 vertical alignment
    Own(kKindFont),     // 13 font
};

#undef COMMON_PROPERTIES

bool IsUnused(const DataTypeDescriptor& d) {
    return d.unitInterface == nullptr && d.flags == 0 && d.propertyCount == 0;
}

}  // namespace

void VisitFontFace(FontSet* font, TextVisitor visit, void* context) {
    if (!font->present) return;
    std::string face = font->logfont.lfFaceName;
    visit(&face, context);
    std::memset(font->logfont.lfFaceName, 0, LF_FACESIZE);
    face.copy(font->logfont.lfFaceName, LF_FACESIZE - 1);
}

void InstallUnitKinds() {
    InstallUnitKind(kUnitKindWindow, kWindowProperties, WindowInterface);
    InstallUnitKind(kUnitKindEditBox, kEditBoxProperties, EditBoxInterface);
    InstallUnitKind(kUnitKindLabel, kLabelProperties, LabelInterface);
    InstallUnitKind(kUnitKindButton, kButtonProperties, ButtonInterface);
}

const DataTypeDescriptor* FindUnitKind(Word unitType) {
    uint32_t library = unitType >> 16;
    uint32_t number = unitType & 0xFFFF;
    if (library == 0 || library > static_cast<uint32_t>(g_runtime.libraryCount) ||
        g_runtime.libraries == nullptr) {
        return nullptr;
    }
    const LibraryRecord* record = g_runtime.libraries[library - 1];
    if (record == nullptr || number == 0 || number > record->typeCount || record->types == nullptr)
        return nullptr;
    const DataTypeDescriptor& kind = record->types[number - 1];
    return IsUnused(kind) ? nullptr : &kind;
}
