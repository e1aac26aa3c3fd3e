// A unit kind's routines by operation, and the one switch that hands them
// out: each kind's interface function asks it with its own set.
#pragma once

#include <cstdint>

#include "forms/unit_kind.h"
#include "runtime/library_record.h"

// A kind's routines other than get and set, which its property table
// gives (forms/property_table.h). A null routine: the kind has no such
// operation.
struct UnitRoutines {
    CreateRoutine create;
    StoreBlockRoutine storeBlock;
    RebuildTextsRoutine rebuildTexts;
    WindowOptionsRoutine windowOptions;      // the window only
    TakesEnterRoutine takesEnter;            // the edit box only
    IsDefaultButtonRoutine isDefaultButton;  // the button only
};

// The routine for an operation; the get and set ones are passed in.
void* UnitRoutine(const UnitRoutines& routines, GetPropertyRoutine get, SetPropertyRoutine set,
                  int32_t operation);

// What the core library record takes of a kind: its descriptor rows (made
// from its property table) and its interface function.
struct UnitKindEntry {
    const PropertyDescriptor* properties;  // common ones, then the kind's own
    uint32_t propertyCount;
    UnitInterface unitInterface;
};
