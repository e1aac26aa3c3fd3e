// A unit kind's own properties as one table. Each row states a property
// once: its number, its value kind, how to read it, how to write it and
// what the live control then needs. The kind's get and set operations and
// the descriptor rows it installs in the core library record are all made
// from its table, so a new property is one new row.
//
// Invariant: row i holds property kFirstOwnProperty + i (checked when the
// kind's file compiles), so a property is found by its number directly.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "forms/property_kinds.h"
#include "forms/unit_kind.h"
#include "forms/unit_routines.h"
#include "runtime/library_record.h"

template <typename Object>
struct PropertyRow {
    using ObjectType = Object;
    int32_t number;  // the index the property services use: kFirstOwnProperty and up
    uint32_t kind;   // its value kind (kKind*): how the services pass the value
    void (*read)(Object* o, PropertyValue* v);         // the current value
    void (*write)(Object* o, const PropertyValue& v);  // takes the new value
    // Then brings the live control up to date; null when it needs nothing.
    // True: the control cannot take the change and must be made again from
    // the stored block.
    bool (*update)(Object* o);
};

// ---- a stored field as a property value -------------------------------------

inline void PutValue(int32_t field, PropertyValue* v) {
    *v = IntValue(field);
}
inline void PutValue(uint32_t field, PropertyValue* v) {
    *v = WordValue(field);
}
inline void PutValue(const std::string& field, PropertyValue* v) {
    *v = TextValue(field);
}
inline void PutValue(const std::vector<uint8_t>& field, PropertyValue* v) {
    *v = BytesValue(field);
}
inline void PutValue(const FontSet& field, PropertyValue* v) {
    *v = FontValue(field);
}

inline void TakeValue(const PropertyValue& v, int32_t* field) {
    *field = ValueInt(v);
}
inline void TakeValue(const PropertyValue& v, uint32_t* field) {
    *field = v.low;
}
inline void TakeValue(const PropertyValue& v, std::string* field) {
    *field = v.text;
}
inline void TakeValue(const PropertyValue& v, std::vector<uint8_t>* field) {
    *field = v.bytes;
}
inline void TakeValue(const PropertyValue& v, FontSet* field) {
    *field = v.font;
}

// Rows of one kind whose object keeps its values in `props`.
template <typename Object>
struct PropertyRows {
    using Row = PropertyRow<Object>;
    using Update = bool (*)(Object* o);

    template <auto Member>
    static void ReadField(Object* o, PropertyValue* v) {
        PutValue(o->props.*Member, v);
    }
    template <auto Member>
    static void WriteField(Object* o, const PropertyValue& v) {
        TakeValue(v, &(o->props.*Member));
    }
    template <auto Member, size_t Index>
    static void ReadElement(Object* o, PropertyValue* v) {
        PutValue((o->props.*Member)[Index], v);
    }
    template <auto Member, size_t Index>
    static void WriteElement(Object* o, const PropertyValue& v) {
        TakeValue(v, &(o->props.*Member)[Index]);
    }

    // A property that is one field of the props.
    template <auto Member>
    static constexpr Row Field(int32_t number, uint32_t kind, Update update = nullptr) {
        return Row{number, kind, ReadField<Member>, WriteField<Member>, update};
    }
    // A property that is one element of an array in the props.
    template <auto Member, size_t Index>
    static constexpr Row Element(int32_t number, uint32_t kind, Update update = nullptr) {
        return Row{number, kind, ReadElement<Member, Index>, WriteElement<Member, Index>, update};
    }

    // Live updates many rows share.
    static bool Recreate(Object*) { return true; }
    static bool Repaint(Object* o) {
        InvalidateRect(o->hwnd, nullptr, TRUE);
        return false;
    }
};

template <typename Row, size_t N>
constexpr bool RowsInNumberOrder(const Row (&rows)[N]) {
    for (size_t i = 0; i < N; ++i) {
        if (rows[i].number != kFirstOwnProperty + static_cast<int32_t>(i)) return false;
    }
    return true;
}

template <typename Row, size_t N>
const Row* RowOf(const Row (&rows)[N], int32_t ownIndex) {
    return ownIndex >= 0 && static_cast<size_t>(ownIndex) < N ? &rows[ownIndex] : nullptr;
}

// The kind's get and set operations (kOpGetProperty, kOpSetProperty) over
// its table; an own index the table does not hold is no property.
template <const auto& Rows>
bool GetPropertyByTable(UnitObject* object, int32_t ownIndex, PropertyValue* v) {
    const auto* row = RowOf(Rows, ownIndex);
    if (row == nullptr) return false;
    using Object = typename std::remove_pointer_t<decltype(row)>::ObjectType;
    row->read(static_cast<Object*>(object), v);
    return true;
}

template <const auto& Rows>
bool SetPropertyByTable(UnitObject* object, int32_t ownIndex, const PropertyValue& v) {
    const auto* row = RowOf(Rows, ownIndex);
    if (row == nullptr) return false;
    using Object = typename std::remove_pointer_t<decltype(row)>::ObjectType;
    auto* o = static_cast<Object*>(object);
    row->write(o, v);
    return row->update != nullptr && row->update(o);
}

// The kind's descriptor rows for the core library record: the eight common
// properties every unit has, then the table's own ones in number order.
template <typename Row, size_t N>
constexpr std::array<PropertyDescriptor, kFirstOwnProperty + N> DescriptorRows(
    const Row (&rows)[N]) {
    constexpr uint32_t kCommonKinds[kFirstOwnProperty] = {
        kKindInteger, kKindInteger, kKindInteger, kKindInteger,  // left, top, width, height
        kKindText,                                               // tag
        kKindLogical, kKindLogical,                              // visible, disabled
        kKindCursor};                                            // mouse cursor
    std::array<PropertyDescriptor, kFirstOwnProperty + N> out{};
    for (size_t i = 0; i < kFirstOwnProperty; ++i)
        out[i] = PropertyDescriptor{{0, 0, 0}, kCommonProperty | kCommonKinds[i], 0};
    for (size_t i = 0; i < N; ++i)
        out[kFirstOwnProperty + i] = PropertyDescriptor{{0, 0, 0}, kOwnProperty | rows[i].kind, 0};
    return out;
}

template <const auto& Rows>
inline constexpr auto kDescriptorRowsOf = DescriptorRows(Rows);

template <const auto& Rows, const UnitRoutines& Routines>
void* InterfaceOf(int32_t operation) {
    return UnitRoutine(Routines, GetPropertyByTable<Rows>, SetPropertyByTable<Rows>, operation);
}

// What a kind hands the core library record: its table's descriptor rows
// and an interface function over its routines.
template <const auto& Rows, const UnitRoutines& Routines>
constexpr UnitKindEntry KindEntry() {
    return UnitKindEntry{kDescriptorRowsOf<Rows>.data(),
                         static_cast<uint32_t>(kDescriptorRowsOf<Rows>.size()),
                         InterfaceOf<Rows, Routines>};
}
