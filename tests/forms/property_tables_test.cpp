// Each unit kind's property table against what the rest of the runtime
// sees of it: the descriptor rows installed in the core library record
// (count and value kinds, which stored programs rely on), and a write of
// every own property through the property services read back unchanged,
// on a live window, so that no row reads one field and writes another.
#include <string>
#include <vector>

#include "forms/button_unit.h"
#include "forms/edit_input.h"
#include "forms/editbox_unit.h"
#include "forms/label_unit.h"
#include "forms/property_access.h"
#include "forms/property_kinds.h"
#include "forms/unit_kind.h"
#include "forms/window_unit.h"
#include "live_fixture.h"
#include "runtime/core_library.h"
#include "runtime/memory.h"

namespace {

struct KindCase {
    const char* name;
    int number;                   // descriptor number in the core record
    const UnitKindEntry* entry;   // the kind's own view of its rows
    std::vector<uint32_t> kinds;  // own value kinds, property 8 on, as programs know them
};

std::vector<KindCase> Kinds() {
    return {
        {"window",
         kUnitKindWindow,
         &kWindowKind,
         {kKindText,    kKindChoice,  kKindColour,  kKindPicture, kKindChoice,   kKindSound,
          kKindChoice,  kKindLogical, kKindLogical, kKindLogical, kKindChoice,   kKindLogical,
          kKindIcon,    kKindLogical, kKindLogical, kKindLogical, kKindFileName, kKindInteger,
          kKindLogical, kKindInteger, kKindInteger, kKindLogical, kKindInteger,  kKindText}},
        {"edit box",
         kUnitKindEditBox,
         &kEditBoxKind,
         {kKindText,    kKindChoice,  kKindColour,  kKindBackColour, kKindFont,
          kKindLogical, kKindInteger, kKindLogical, kKindChoice,     kKindChoice,
          kKindChoice,  kKindInteger, kKindChoice,  kKindChoice,     kKindInteger,
          kKindInteger, kKindInteger, kKindInteger, kKindDataSource, kKindDataColumn,
          kKindText}},
        {"label", kUnitKindLabel, &kLabelKind, {kKindText,       kKindChoice,     kKindChoice,
                                                kKindInteger,    kKindColour2,    kKindColour2,
                                                kKindColour2,    kKindFont,       kKindColour,
                                                kKindBackColour, kKindPicture,    kKindChoice,
                                                kKindChoice,     kKindColour2,    kKindColour2,
                                                kKindColour2,    kKindChoice,     kKindLogical,
                                                kKindChoice,     kKindDataSource, kKindDataColumn}},
        {"button",
         kUnitKindButton,
         &kButtonKind,
         {kKindPicture, kKindChoice, kKindText, kKindChoice, kKindChoice, kKindFont}},
    };
}

TEST(PropertyTables, InstalledRowsKeepTheCountsAndValueKindsProgramsRelyOn) {
    InstallUnitKinds();
    const LibraryRecord* core = CoreLibraryRecord();
    const uint32_t common[] = {kKindInteger, kKindInteger, kKindInteger, kKindInteger,
                               kKindText,    kKindLogical, kKindLogical, kKindCursor};
    for (const KindCase& k : Kinds()) {
        SCOPED_TRACE(k.name);
        const DataTypeDescriptor& d = core->types[k.number - 1];
        ASSERT_EQ(d.properties, k.entry->properties) << "the record holds the table's rows";
        ASSERT_EQ(d.propertyCount, k.entry->propertyCount)
            << "the record's fixed count and the table disagree";
        ASSERT_EQ(d.propertyCount, kFirstOwnProperty + k.kinds.size());
        for (uint32_t i = 0; i < d.propertyCount; ++i) {
            SCOPED_TRACE(i);
            const PropertyDescriptor& row = d.properties[i];
            bool own = i >= kFirstOwnProperty;
            EXPECT_EQ(row.type >> 16, own ? 0x8000u : 0xE000u);
            EXPECT_EQ(PropertyKind(row), own ? k.kinds[i - kFirstOwnProperty] : common[i]);
            EXPECT_EQ(row.names[0] | row.names[1] | row.names[2] | row.reserved, 0u);
        }
    }
}

TEST(PropertyTables, AnOwnIndexPastTheTableIsNoProperty) {
    InstallUnitKinds();
    for (const KindCase& k : Kinds()) {
        SCOPED_TRACE(k.name);
        auto get = reinterpret_cast<GetPropertyRoutine>(k.entry->unitInterface(kOpGetProperty));
        auto set = reinterpret_cast<SetPropertyRoutine>(k.entry->unitInterface(kOpSetProperty));
        ASSERT_NE(get, nullptr);
        ASSERT_NE(set, nullptr);
        PropertyValue v;
        int32_t past = static_cast<int32_t>(k.kinds.size());
        // Neither routine may touch the object for an index it does not hold.
        EXPECT_FALSE(get(nullptr, past, &v));
        EXPECT_FALSE(get(nullptr, -1, &v));
        EXPECT_FALSE(set(nullptr, past, v));
    }
}

// ---- round trips on a live window ---------------------------------------------

class PropertyRoundTrip : public LiveWindowTest {
  protected:
    uint64_t Read(uint32_t unit, int32_t property, int32_t sub = -1) {
        return ReadProperty(kLiveWindowId, unit, property, sub);
    }
    void Write(uint32_t unit, int32_t property, uint32_t value, int32_t sub = -1) {
        WriteProperty(kLiveWindowId, unit, property, sub, value, 0);
    }
    std::string Text(uint64_t word) {
        char* text = FromWord<char>(static_cast<Word>(word));
        std::string copy = text != nullptr ? text : "";
        Release(text);
        return copy;
    }
    std::vector<uint8_t> Bytes(uint64_t word) {
        void* set = FromWord<void>(static_cast<Word>(word));
        int32_t length = ByteSetLength(set);
        std::vector<uint8_t> copy;
        if (length > 0) copy.assign(ByteSetData(set), ByteSetData(set) + length);
        Release(set);
        return copy;
    }

    // Writes a value other than the current one and reads it back.
    void RoundTrip(uint32_t unit, int32_t property, uint32_t kind) {
        SCOPED_TRACE(property);
        if (IsTextKind(kind)) {
            std::string next = Text(Read(unit, property)) + "改";
            Write(unit, property, ToWord(next.c_str()));
            EXPECT_EQ(Text(Read(unit, property)), next);
        } else if (IsByteSetKind(kind)) {
            const uint8_t code[] = {7, 8, static_cast<uint8_t>(property)};
            void* set = MakeByteSetBlock(code, sizeof code);
            Write(unit, property, ToWord(set));
            Release(set);
            EXPECT_EQ(Bytes(Read(unit, property)), std::vector<uint8_t>(code, code + 3));
        } else if (kind == kKindFont) {
            std::string face = Text(Read(unit, property, kFontFace)) == "楷体" ? "黑体" : "楷体";
            Write(unit, property, ToWord(face.c_str()), kFontFace);
            EXPECT_EQ(Text(Read(unit, property, kFontFace)), face);
            uint32_t size = static_cast<uint32_t>(Read(unit, property, kFontSize)) + 3;
            Write(unit, property, size, kFontSize);
            EXPECT_EQ(Read(unit, property, kFontSize), size);
        } else if (kind == kKindLogical) {
            uint32_t next = Read(unit, property) != 0 ? 0 : 1;
            Write(unit, property, next);
            EXPECT_EQ(Read(unit, property), next);
        } else if (kind == kKindChoice) {
            uint32_t next = Read(unit, property) == 2 ? 1 : 2;
            Write(unit, property, next);
            EXPECT_EQ(Read(unit, property), next);
        } else {
            uint32_t next = static_cast<uint32_t>(Read(unit, property)) ^ 0x00020305u;
            Write(unit, property, next);
            EXPECT_EQ(Read(unit, property), next);
        }
    }

    // Every own property of the unit's kind but those that read the live
    // control's state rather than what was written (an edit box's
    // selection).
    void RoundTripAll(uint32_t unit, int number, std::initializer_list<int32_t> live = {}) {
        const DataTypeDescriptor& d = CoreLibraryRecord()->types[number - 1];
        for (int32_t p = kFirstOwnProperty; p < static_cast<int32_t>(d.propertyCount); ++p) {
            bool skip = false;
            for (int32_t l : live) skip = skip || l == p;
            if (!skip) RoundTrip(unit, p, PropertyKind(d.properties[p]));
        }
    }
};

TEST_F(PropertyRoundTrip, EveryOwnPropertyOfEveryKindReadsBackWhatWasWritten) {
    Load();
    {
        SCOPED_TRACE("window");
        RoundTripAll(kLiveWindowUnit, kUnitKindWindow);
    }
    {
        SCOPED_TRACE("label");
        RoundTripAll(kLiveLabelId, kUnitKindLabel);
    }
    {
        SCOPED_TRACE("button");
        RoundTripAll(kLiveButtonId, kUnitKindButton);
    }
    {
        SCOPED_TRACE("edit box");
        RoundTripAll(kLiveIntBoxId, kUnitKindEditBox,
                     {kEditSelectionStart, kEditSelectionLength, kEditSelectedText});
    }
}

TEST_F(PropertyRoundTrip, AnEditBoxSelectionIsTheLiveControlsAndItsTextReplacesIt) {
    Load();
    Write(kLiveByteBoxId, kEditContent, ToWord("abcdef"));
    Write(kLiveByteBoxId, kEditSelectionStart, 1);
    Write(kLiveByteBoxId, kEditSelectionLength, 3);
    EXPECT_EQ(Read(kLiveByteBoxId, kEditSelectionStart), 1u);
    EXPECT_EQ(Read(kLiveByteBoxId, kEditSelectionLength), 3u);
    EXPECT_EQ(Text(Read(kLiveByteBoxId, kEditSelectedText)), "bcd");
    Write(kLiveByteBoxId, kEditSelectedText, ToWord("XY"));
    EXPECT_EQ(Text(Read(kLiveByteBoxId, kEditContent)), "aXYef");
    EXPECT_EQ(Text(Read(kLiveByteBoxId, kEditSelectedText)), "");
}

TEST_F(PropertyRoundTrip, LeavingPasswordModeMakesANewControlEvenWithoutAPasswordCharacter) {
    Load();
    HWND box = Control(kLiveByteBoxControl);
    Write(kLiveByteBoxId, kEditInputMode, kInputPassword);
    HWND password = Control(kLiveByteBoxControl);
    EXPECT_NE(password, box) << "entering password mode changes the style bits";
    Write(kLiveByteBoxId, kEditPasswordChar, 0);  // the control drops ES_PASSWORD itself
    EXPECT_EQ(Control(kLiveByteBoxControl), password) << "a password character is applied";
    Write(kLiveByteBoxId, kEditInputMode, 0);
    EXPECT_NE(Control(kLiveByteBoxControl), password)
        << "the control made for password mode is not kept for another mode";
    EXPECT_EQ(Read(kLiveByteBoxId, kEditInputMode), 0u);
}

}  // namespace
