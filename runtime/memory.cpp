// The runtime heap and the constant ranges.
#include "runtime/memory.h"

#include <cstdio>
#include <cstring>

#include "platform/win32.h"
#include "runtime/runtime_error.h"
#include "runtime/runtime_state.h"
#include "runtime/value.h"

// The constants every caller may pass instead of an empty value. They live in
// one record so that the runtime registers them as a single constant range.
namespace {
struct RuntimeConstants {
    int32_t emptyByteSet[2];  // dimension count 1, length 0
    char emptyText[4];
};
const RuntimeConstants kConstants = {{1, 0}, {0, 0, 0, 0}};

uint32_t g_liveBlocks = 0;
const HeapWatch* g_watch = nullptr;

void HandedOut(void* block) {
    ++g_liveBlocks;
    if (g_watch != nullptr) g_watch->handedOut(block);
}

void TakenBack(void* block) {
    --g_liveBlocks;
    if (g_watch != nullptr) g_watch->takenBack(block);
}

HANDLE Heap() {
    if (g_runtime.heap == nullptr) g_runtime.heap = GetProcessHeap();
    return g_runtime.heap;
}

[[noreturn]] void AllocationFailed(uint32_t size) {
    char message[64];
    std::snprintf(message, sizeof message, "分配 %d 字节内存失败!", static_cast<int32_t>(size));
    ReportRuntimeError(message, 0);
}

const ConstantRange* FindConstantRange(const void* block) {
    const uint8_t* p = static_cast<const uint8_t*>(block);
    auto inside = [p](const ConstantRange& r) { return p >= r.start && p < r.end; };
    static const ConstantRange runtimeRange = {
        reinterpret_cast<const uint8_t*>(&kConstants),
        reinterpret_cast<const uint8_t*>(&kConstants) + sizeof kConstants};
    if (inside(runtimeRange)) return &runtimeRange;
    for (int i = 0; i < g_runtime.constantCount; ++i) {
        if (inside(g_runtime.constants[i])) return &g_runtime.constants[i];
    }
    return nullptr;
}
}  // namespace

const char* const kEmptyText = kConstants.emptyText;
const void* const kEmptyByteSet = kConstants.emptyByteSet;

void AddConstantRange(const void* start, uint32_t length) {
    if (length == 0 || g_runtime.constantCount == kMaxConstantRanges) return;
    const uint8_t* p = static_cast<const uint8_t*>(start);
    g_runtime.constants[g_runtime.constantCount++] = ConstantRange{p, p + length};
}

bool IsConstantBlock(const void* block) { return block != nullptr && FindConstantRange(block) != nullptr; }

uint32_t LiveBlockCount() { return g_liveBlocks; }

void SetHeapWatch(const HeapWatch* watch) { g_watch = watch; }

void* TryAllocate(uint32_t size) {
    void* block = HeapAlloc(Heap(), 0, size);
    if (block != nullptr) HandedOut(block);
    return block;
}

void* Allocate(uint32_t size) {
    void* block = TryAllocate(size);
    if (block == nullptr) AllocationFailed(size);
    return block;
}

void* Reallocate(void* block, uint32_t size) {
    if (block == nullptr) return Allocate(size);
    if (const ConstantRange* range = FindConstantRange(block)) {
        // The constant stays as it is; the caller gets a heap copy of as much
        // of it as the range holds.
        void* copy = Allocate(size);
        uint32_t available = static_cast<uint32_t>(range->end - static_cast<const uint8_t*>(block));
        std::memcpy(copy, block, size < available ? size : available);
        return copy;
    }
    void* resized = HeapReAlloc(Heap(), 0, block, size);
    if (resized == nullptr) AllocationFailed(size);
    TakenBack(block);
    HandedOut(resized);
    return resized;
}

void Release(const void* block) {
    if (block == nullptr || FindConstantRange(block) != nullptr) return;
    TakenBack(const_cast<void*>(block));
    HeapFree(Heap(), 0, const_cast<void*>(block));
}

void MakeArrayWritable(uint32_t elementSize, void** variable) {
    void* block = *variable;
    if (block == nullptr || !IsConstantBlock(block)) return;
    uint32_t bytes = ArrayHeaderSize(block) + elementSize * ArrayElementCount(block);
    void* copy = Allocate(bytes);
    std::memcpy(copy, block, bytes);
    *variable = copy;
}

char* CopyTextN(const char* bytes, uint32_t length) {
    if (length == 0) return nullptr;
    char* text = static_cast<char*>(Allocate(length + 1));
    std::memcpy(text, bytes, length);
    text[length] = '\0';
    return text;
}

char* CopyText(const char* text) {
    return TextIsEmpty(text) ? nullptr : CopyTextN(text, static_cast<uint32_t>(std::strlen(text)));
}

void* MakeByteSetBlock(const void* bytes, uint32_t length) {
    if (length == 0) return nullptr;
    uint8_t* block = static_cast<uint8_t*>(Allocate(kByteSetHeader + length));
    int32_t header[2] = {1, static_cast<int32_t>(length)};
    std::memcpy(block, header, sizeof header);
    std::memcpy(block + kByteSetHeader, bytes, length);
    return block;
}

void ReleaseArray(uint32_t elementType, void* block) {
    if (block == nullptr) return;
    uint32_t element = ElementType(elementType);
    if (element == DT_TEXT || element == DT_BIN) {
        Word* items = static_cast<Word*>(ArrayElements(block));
        uint32_t count = ArrayElementCount(block);
        for (uint32_t i = 0; i < count; ++i) Release(FromWord<void>(items[i]));
    }
    Release(block);
}
