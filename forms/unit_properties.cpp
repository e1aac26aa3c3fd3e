// The installation of the four unit kinds (their descriptor rows, made from
// each kind's property table, and interface functions) into the core
// library record, with the lookup of a unit type's descriptor in the
// program's library list.
#include <cstring>
#include <string>

#include "forms/button_unit.h"
#include "forms/editbox_unit.h"
#include "forms/label_unit.h"
#include "forms/unit_kind.h"
#include "forms/window_unit.h"
#include "runtime/core_library.h"
#include "runtime/runtime_state.h"

namespace {

bool IsUnused(const DataTypeDescriptor& d) {
    return d.unitInterface == nullptr && d.flags == 0 && d.propertyCount == 0;
}

}  // namespace

void TieToUnit(UnitObject* object, Word unitType, const CreateParams& params) {
    object->unitType = unitType;
    object->windowId = params.windowId;
    object->unitId = params.unitId;
    object->dpi = params.dpi;
}

void VisitFontFace(FontSet* font, TextVisitor visit, void* context) {
    if (!font->present) return;
    std::string face = font->logfont.lfFaceName;
    visit(&face, context);
    std::memset(font->logfont.lfFaceName, 0, LF_FACESIZE);
    face.copy(font->logfont.lfFaceName, LF_FACESIZE - 1);
}

void InstallUnitKinds() {
    InstallUnitKind(kUnitKindWindow, kWindowKind.properties, kWindowKind.unitInterface);
    InstallUnitKind(kUnitKindEditBox, kEditBoxKind.properties, kEditBoxKind.unitInterface);
    InstallUnitKind(kUnitKindLabel, kLabelKind.properties, kLabelKind.unitInterface);
    InstallUnitKind(kUnitKindButton, kButtonKind.properties, kButtonKind.unitInterface);
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
