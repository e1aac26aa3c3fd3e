// Calling core commands from tests the way program code does: through the
// service table, with every declared argument present (an omitted optional
// one as tag 0), and taking ownership of what comes back.
#pragma once

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "runtime/core_library.h"
#include "runtime/memory.h"
#include "runtime/services.h"
#include "runtime/value.h"

inline ArgValue CallCore(CoreCommand slot, std::initializer_list<ArgValue> list) {
    std::vector<ArgValue> args(list);
    return g_services.CallCoreCommand(CoreCommandEntry(slot), static_cast<int32_t>(args.size()),
                                      args.data());
}

// A returned text as a string, given back to the heap. Null reads as "".
inline std::string TakeText(const ArgValue& result) {
    const char* text = ValueText(result);
    std::string copy = text != nullptr ? text : "";
    g_services.Release(text);
    return copy;
}

// A returned byte set's bytes, given back to the heap.
inline std::string TakeByteSet(const ArgValue& result) {
    void* block = FromWord<void>(result.low);
    std::string bytes;
    if (block != nullptr)
        bytes.assign(reinterpret_cast<const char*>(ByteSetData(block)), ByteSetLength(block));
    g_services.Release(block);
    return bytes;
}

// A byte set argument whose block the test owns.
class ByteSetArg {
  public:
    explicit ByteSetArg(const std::string& bytes)
        : block_(MakeByteSetBlock(bytes.data(), static_cast<uint32_t>(bytes.size()))) {}
    ~ByteSetArg() { Release(block_); }
    ByteSetArg(const ByteSetArg&) = delete;
    ByteSetArg& operator=(const ByteSetArg&) = delete;
    operator ArgValue() const { return MakeByteSet(block_); }

  private:
    void* block_;
};
