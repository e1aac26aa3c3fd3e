// Shared by the SQLite support library's tests: a stand-in runtime that
// counts the memory the library asks for, and a SqliteDB variable whose
// commands are called as program code calls them (CallLibraryCommand, the
// instance as argument 0).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "runtime/command.h"
#include "runtime/notify.h"
#include "runtime/value.h"
#include "sqlitelib/sqlite_db.h"
#include "sqlitelib/sqlite_library.h"

// Runtime memory: the blocks obtained with request 2024 and not yet given
// back with 2025.
struct FakeRuntime {
    static std::set<const void*> live;
    static int allocations;

    static int32_t Notify(int32_t request, uint32_t first, uint32_t second) {
        if (request == kRequestAllocate) {
            EXPECT_EQ(second, 0u) << "the library asks for checked allocations";
            void* block = std::malloc(first);
            live.insert(block);
            ++allocations;
            return static_cast<int32_t>(ToWord(block));
        }
        EXPECT_EQ(request, kRequestRelease) << "the library makes no other request";
        if (first != 0) {
            EXPECT_EQ(live.erase(FromWord<const void>(first)), 1u) << "not a runtime block";
        }
        std::free(FromWord<void>(first));
        return 0;
    }
};
inline std::set<const void*> FakeRuntime::live;
inline int FakeRuntime::allocations = 0;

inline CommandEntry CommandAt(SqliteCommand slot) {
    return SqliteLibraryRecord()->commands[slot];
}

class TestDb {
  public:
    TestDb() { Call(kSqliteConstruct); }
    ~TestDb() { Call(kSqliteDestroy); }

    // Program code passes every declared argument, omitted ones with tag 0.
    ArgValue Call(SqliteCommand slot, ArgValue a = MakeOmitted(), ArgValue b = MakeOmitted()) {
        ArgValue args[3] = {ArgValue{ToWord(&state_), 0, DT_SQLITEDB}, a, b};
        int32_t count = slot == kSqliteOpen || slot == kSqliteQueryTable ? 3
                        : slot == kSqliteExecute                         ? 2
                                                                         : 1;
        return CallLibraryCommand(CommandAt(slot), count, args);
    }
    Word Open(ArgValue name, ArgValue create = MakeOmitted()) {
        return Call(kSqliteOpen, name, create).low;
    }
    Word Open(const char* name, bool create) { return Open(MakeText(name), MakeBool(create)); }
    Word OpenMemory() { return Open(MakeOmitted(), MakeBool(true)); }
    Word Close() { return Call(kSqliteClose).low; }
    Word Execute(const char* sql) { return Call(kSqliteExecute, MakeText(sql)).low; }
    Word Compact() { return Call(kSqliteCompact).low; }
    Word Query(const char* text, ArgValue names = MakeOmitted()) {
        return Call(kSqliteQueryTable, MakeText(text), names).low;
    }
    bool IsOpen() const { return state_.connection != nullptr; }
    SqliteDbState& state() { return state_; }

  private:
    SqliteDbState state_{};
};

// A query result read back, then released as program code releases it:
// each element, then the block.
struct QueryResult {
    std::vector<int32_t> dims;
    std::vector<std::string> cells;  // "" for null elements
    std::vector<bool> isNull;
    bool fromRuntime = true;  // the block and every element came from request 2024
};

inline QueryResult TakeResult(Word block) {
    QueryResult r;
    const int32_t* words = FromWord<const int32_t>(block);
    if (words == nullptr) {
        ADD_FAILURE() << "a query never answers a null address";
        return r;
    }
    r.dims.assign(ArrayDims(words), ArrayDims(words) + ArrayDimCount(words));
    const Word* elements = static_cast<const Word*>(ArrayElements(words));
    for (uint32_t i = 0; i < ArrayElementCount(words); ++i) {
        const char* text = FromWord<const char>(elements[i]);
        r.isNull.push_back(text == nullptr);
        r.cells.push_back(text != nullptr ? text : "");
        if (text != nullptr) r.fromRuntime &= FakeRuntime::live.count(text) == 1;
        FakeRuntime::Notify(kRequestRelease, elements[i], 0);
    }
    r.fromRuntime &= FakeRuntime::live.count(words) == 1;
    FakeRuntime::Notify(kRequestRelease, block, 0);
    return r;
}

inline bool IsEmptyArray(const QueryResult& r) {
    return r.dims == std::vector<int32_t>{0};
}

// Hands the counting runtime to the library; after each test, everything the
// library gave out must have been given back.
class SqliteLibTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(
            SqliteLibraryNotify(kLibraryStart,
                                ToWord(reinterpret_cast<const void*>(&FakeRuntime::Notify)), 0),
            0);
        FakeRuntime::allocations = 0;
    }
    void TearDown() override {
        EXPECT_TRUE(FakeRuntime::live.empty())
            << FakeRuntime::live.size() << " runtime blocks leaked";
        for (const void* block : FakeRuntime::live) std::free(const_cast<void*>(block));
        FakeRuntime::live.clear();  // a leak fails this test only
    }
};

// Runs each test in a fresh folder: file names are relative, as in the
// program, and leftovers are visible.
class SqliteFileTest : public SqliteLibTest {
  protected:
    void SetUp() override {
        SqliteLibTest::SetUp();
        folder_ = std::filesystem::temp_directory_path() /
                  ("sqlitelib_" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(folder_);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_);
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(folder_);
        SqliteLibTest::TearDown();
    }
    bool FolderIsEmpty() const { return std::filesystem::is_empty(folder_); }

    std::filesystem::path folder_;
    std::filesystem::path previous_;
};
