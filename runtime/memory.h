// The runtime heap: every text, byte set and array handed to program code is
// a block of it. Blocks inside a registered constant range are valid values
// too; the services never release them and copy them before a change.
#pragma once

#include <cstdint>

// Never returns null: exhaustion is the fatal "分配 %d 字节内存失败!" error.
void* Allocate(uint32_t size);
// A null block allocates; a constant block is copied as far as its range reaches.
void* Reallocate(void* block, uint32_t size);
// Null and constant blocks are ignored.
void Release(const void* block);
// Like Allocate but answers null on exhaustion instead of ending the program.
void* TryAllocate(uint32_t size);

// The heap's own accounting: blocks handed out and not yet released. A piece
// of work that leaves this count higher than it found it (less what it hands
// to its caller) leaks.
uint32_t LiveBlockCount();
// Told of every heap block as it is handed out and as it is taken back (a
// reallocated block is taken back and handed out again). For harnesses that
// must reclaim what a program abandons when it ends; null for none.
struct HeapWatch {
    void (*handedOut)(void* block);
    void (*takenBack)(void* block);
};
void SetHeapWatch(const HeapWatch* watch);

// Registers [start, start + length) as constant data of the program.
void AddConstantRange(const void* start, uint32_t length);
bool IsConstantBlock(const void* block);

// Copies a constant array block in *variable into the heap so that the caller
// may change it; heap blocks are left alone.
void MakeArrayWritable(uint32_t elementSize, void** variable);

// New heap copies of values; an empty text or byte set gives null.
char* CopyText(const char* text);
char* CopyTextN(const char* bytes, uint32_t length);
void* MakeByteSetBlock(const void* bytes, uint32_t length);

// Releases an array block and, for text and byte set elements, each element.
void ReleaseArray(uint32_t elementType, void* block);
