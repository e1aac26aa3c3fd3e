// Writing unit records, unit tables and template segments in the layout the
// template reader takes.
#include "forms/template_writer.h"

#include "forms/byte_writer.h"

namespace {

// Type, event source, four reserved words, name and remark: the same in
// both kinds of record.
void WriteRecordHead(ByteWriter* w, Word unitType, uint32_t eventSource, const std::string& name,
                     const std::string& remark) {
    w->Word32(unitType);
    w->Word32(eventSource);
    for (int i = 0; i < 4; ++i) w->Word32(0);
    w->ZText(name);
    w->ZText(remark);
}

}  // namespace

std::vector<uint8_t> WriteUnitRecord(const UnitSource& u) {
    ByteWriter w;
    WriteRecordHead(&w, u.unitType, u.eventSource, u.name, u.remark);
    w.Word32(0);  // object slot: filled while the window is loaded
    w.Int(u.left);
    w.Int(u.top);
    w.Int(u.width);
    w.Int(u.height);
    w.Word32(0);  // cursor slot: likewise
    w.Word32(u.parent);
    w.Word32(static_cast<Word>(u.children.size()));
    for (uint32_t child : u.children) w.Word32(child);
    w.ByteSet(u.cursor);
    w.ZText(u.tag);
    w.Word32(0);
    w.Word32(u.flags);
    w.Word32(u.focusOrder);
    w.Word32(static_cast<Word>(u.events.size()));
    for (const EventBinding& binding : u.events) {
        w.Int(binding.eventIndex);
        w.Word32(binding.handlerOffset);
    }
    for (uint32_t i = 0; i < kReservedAfterEvents / 4; ++i) w.Word32(0);
    w.Bytes(u.propertyBlock.data(), static_cast<uint32_t>(u.propertyBlock.size()));
    return w.Take();
}

std::vector<uint8_t> WriteMenuItemRecord(const MenuItemSource& m) {
    ByteWriter w;
    WriteRecordHead(&w, m.unitType, m.eventSource, m.name, m.remark);
    w.Word32(m.words[0]);
    w.Word32(m.words[1]);
    w.Word32(m.menuFlags);
    w.ZText(m.caption);
    w.Word32(m.handlerOffset);
    return w.Take();
}

void AddUnit(WindowSource* window, const UnitSource& unit) {
    window->unitIds.push_back(unit.id);
    window->records.push_back(WriteUnitRecord(unit));
}

void AddMenuItem(WindowSource* window, const MenuItemSource& item) {
    window->unitIds.push_back(item.id);
    window->records.push_back(WriteMenuItemRecord(item));
}

std::vector<uint8_t> WriteUnitTable(const WindowSource& window) {
    ByteWriter w;
    for (uint32_t id : window.unitIds) w.Word32(id);
    Word offset = 0;
    for (const auto& record : window.records) {
        w.Word32(offset);
        offset += 4 + static_cast<Word>(record.size());
    }
    for (const auto& record : window.records) w.ByteSet(record);
    return w.Take();
}

std::vector<uint8_t> WriteTemplateSegment(const std::vector<WindowSource>& windows) {
    ByteWriter w;
    w.Word32(static_cast<Word>(8 * windows.size()));
    for (const WindowSource& window : windows) w.Word32(window.windowId);
    for (size_t i = 0; i < windows.size(); ++i) w.Word32(0);  // live window placeholders
    for (const WindowSource& window : windows) {
        w.Word32(window.keptWords[0]);
        w.Word32(window.keptWords[1]);
        w.CountedText(window.keptTexts[0]);
        w.CountedText(window.keptTexts[1]);
        w.Word32(static_cast<Word>(window.unitIds.size()));
        w.ByteSet(WriteUnitTable(window));
    }
    return w.Take();
}
