// A unit kind's routines by operation, and the one switch that hands them
// out: each kind's interface function asks it with its own set.
#pragma once

#include <cstdint>

#include "forms/unit_kind.h"
#include "runtime/library_record.h"

// A null routine: the kind has no such operation.
struct UnitRoutines {
    CreateRoutine create;
    SetPropertyRoutine setProperty;
    StoreBlockRoutine storeBlock;
    GetPropertyRoutine getProperty;
    WindowOptionsRoutine windowOptions;  // the window only
    TakesEnterRoutine takesEnter;        // the edit box only
    RebuildTextsRoutine rebuildTexts;
    IsDefaultButtonRoutine isDefaultButton;  // the button only
};

void* UnitRoutine(const UnitRoutines& routines, int32_t operation);

// What the core library record takes of a kind: its descriptor rows (made
// from its property table) and its interface function.
struct UnitKindEntry {
    const PropertyDescriptor* properties;  // common ones, then the kind's own
    uint32_t propertyCount;
    UnitInterface unitInterface;
};
