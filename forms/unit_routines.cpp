// Operation number -> routine, for every unit kind.
#include "forms/unit_routines.h"

namespace {
template <typename Routine>
void* AsPointer(Routine routine) {
    return reinterpret_cast<void*>(routine);
}
}  // namespace

void* UnitRoutine(const UnitRoutines& r, GetPropertyRoutine get, SetPropertyRoutine set,
                  int32_t operation) {
    switch (operation) {
        case kOpCreate:
            return AsPointer(r.create);
        case kOpSetProperty:
            return AsPointer(set);
        case kOpStoreBlock:
            return AsPointer(r.storeBlock);
        case kOpGetProperty:
            return AsPointer(get);
        case kOpWindowOptions:
            return AsPointer(r.windowOptions);
        case kOpTakesEnter:
            return AsPointer(r.takesEnter);
        case kOpRebuildTexts:
            return AsPointer(r.rebuildTexts);
        case kOpIsDefaultButton:
            return AsPointer(r.isDefaultButton);
        default:
            return nullptr;
    }
}
