// Reading the template segment into the window table. Layout: a word B (8
// bytes per window), B/8 window ids, B/8 placeholder words; then per window
// two kept words, two kept counted texts, the unit count and the unit table
// as a byte set. Every length is checked before it is used, so a segment
// that ends early (or lies about a length) is refused without touching the
// table; the templates own copies of their bytes.
#include "forms/window_table.h"

#include <memory>
#include <vector>

#include "forms/byte_reader.h"
#include "forms/window_template.h"

namespace {

std::vector<std::unique_ptr<WindowTemplate>> g_windows;

std::unique_ptr<WindowTemplate> ReadTemplate(ByteReader* r, uint32_t windowId, Word codeBase) {
    auto window = std::make_unique<WindowTemplate>();
    window->windowId = windowId;
    window->keptWords[0] = r->ReadWord();
    window->keptWords[1] = r->ReadWord();
    window->keptTexts[0] = r->ReadCountedText();
    window->keptTexts[1] = r->ReadCountedText();
    window->unitCount = r->ReadWord();
    Word tableLength = r->ReadWord();
    const uint8_t* table = r->Take(tableLength);
    if (!r->Ok() || !CheckUnitTable(table, tableLength, window->unitCount)) return nullptr;
    window->units.assign(table, table + tableLength);
    for (uint32_t i = 0; i < window->unitCount; ++i) {
        UnitView unit;
        if (!GetUnit(*window, i, &unit)) return nullptr;
        RelocateHandlers(unit, codeBase);
    }
    return window;
}

}  // namespace

bool ReadWindowTable(const uint8_t* segment, uint32_t length, Word codeBase) {
    if (length == 0) return true;
    if (segment == nullptr) return false;
    ByteReader r(segment, length);
    Word headLength = r.ReadWord();
    if (!r.Ok() || headLength % 8 != 0 || headLength > r.Remaining()) return false;
    uint32_t count = headLength / 8;
    const uint8_t* ids = r.Take(4 * count);
    r.Take(4 * count);  // placeholders for live window objects: never read

    std::vector<std::unique_ptr<WindowTemplate>> read;
    for (uint32_t i = 0; i < count; ++i) {
        std::unique_ptr<WindowTemplate> window = ReadTemplate(&r, LoadWord(ids + 4 * i), codeBase);
        if (window == nullptr) return false;
        read.push_back(std::move(window));
    }
    for (auto& window : read) g_windows.push_back(std::move(window));
    return true;
}

WindowTemplate* FindWindowTemplate(uint32_t windowId) {
    for (auto& window : g_windows) {
        if (window->windowId == windowId) return window.get();
    }
    return nullptr;
}

uint32_t WindowTableCount() {
    return static_cast<uint32_t>(g_windows.size());
}

WindowTemplate* WindowTableAt(uint32_t index) {
    return index < g_windows.size() ? g_windows[index].get() : nullptr;
}

void ReleaseWindowTable() {
    std::vector<std::unique_ptr<WindowTemplate>>().swap(g_windows);
}
