// Shared by the SQLite support library's tests: a stand-in runtime that
// counts the memory the library asks for, and helpers that call the unit's
// commands the way program code does, through CallLibraryCommand with the
// instance as argument 0.
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

// Runtime memory as the tests see it: every block the library obtained with
// request 2024 and not yet given back with 2025.
struct FakeRuntime {
    static std::set<const void*>& Live() {
        static std::set<const void*> live;
        return live;
    }
    static int& Allocations() {
        static int count = 0;
        return count;
    }
    static int32_t Notify(int32_t request, uint32_t first, uint32_t second) {
        if (request == kRequestAllocate) {
            EXPECT_EQ(second, 0u) << "the library asks for checked allocations";
            void* block = std::malloc(first == 0 ? 1 : first);
            Live().insert(block);
            ++Allocations();
            return static_cast<int32_t>(ToWord(block));
        }
        if (request == kRequestRelease) {
            const void* block = FromWord<const void>(first);
            if (block == nullptr) return 0;
            EXPECT_EQ(Live().erase(block), 1u) << "released a block the runtime never gave out";
            std::free(const_cast<void*>(block));
            return 0;
        }
        ADD_FAILURE() << "unexpected runtime request " << request;
        return 0;
    }
    // What program code does with a returned array: each element, then the block.
    static void ReleaseTextArray(Word block) {
        int32_t* words = FromWord<int32_t>(block);
        uint32_t count = ArrayElementCount(words);
        const Word* elements = static_cast<const Word*>(ArrayElements(words));
        for (uint32_t i = 0; i < count; ++i) Notify(kRequestRelease, elements[i], 0);
        Notify(kRequestRelease, block, 0);
    }
};

inline CommandEntry CommandAt(SqliteCommand slot) {
    return SqliteLibraryRecord()->commands[slot];
}

// One SqliteDB variable of program code: its zero-filled state block.
class TestDb {
  public:
    TestDb() { Call(kSqliteConstruct); }
    ~TestDb() { Call(kSqliteDestroy); }

    ArgValue Self() { return ArgValue{ToWord(&state_), 0, DT_SQLITEDB}; }
    SqliteDbState& state() { return state_; }

    ArgValue Call(SqliteCommand slot, ArgValue a = MakeOmitted(), ArgValue b = MakeOmitted()) {
        ArgValue args[3] = {Self(), a, b};
        int32_t count =
            slot == kSqliteOpen || slot == kSqliteQueryTable ? 3 : (slot == kSqliteExecute ? 2 : 1);
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
    Word Query(const char* text, ArgValue withNames = MakeOmitted()) {
        return Call(kSqliteQueryTable, MakeText(text), withNames).low;
    }
    bool IsOpen() const { return state_.connection != nullptr; }

  private:
    SqliteDbState state_{};
};

// A query result read back: its dimensions and texts ("" for null elements),
// then released as program code would release it.
struct QueryResult {
    std::vector<int32_t> dims;
    std::vector<std::string> cells;
    std::vector<bool> isNull;
    bool fromRuntime = true;  // block and every element came from request 2024
};

inline QueryResult TakeResult(Word block) {
    QueryResult r;
    EXPECT_NE(block, 0u) << "a query never answers a null address";
    if (block == 0) return r;
    const int32_t* words = FromWord<const int32_t>(block);
    r.fromRuntime = FakeRuntime::Live().count(words) == 1;
    r.dims.assign(ArrayDims(words), ArrayDims(words) + ArrayDimCount(words));
    uint32_t count = ArrayElementCount(words);
    const Word* elements = static_cast<const Word*>(ArrayElements(words));
    for (uint32_t i = 0; i < count; ++i) {
        const char* text = FromWord<const char>(elements[i]);
        r.isNull.push_back(text == nullptr);
        r.cells.push_back(text != nullptr ? text : "");
        if (text != nullptr && FakeRuntime::Live().count(text) == 0) r.fromRuntime = false;
    }
    FakeRuntime::ReleaseTextArray(block);
    return r;
}

inline bool IsEmptyArray(const QueryResult& r) {
    return r.dims == std::vector<int32_t>{0};
}

// Hands the counting runtime to the library and checks, after each test,
// that everything the library gave out was given back.
class SqliteLibTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(
            SqliteLibraryRecord()->notify(
                kLibraryStart, ToWord(reinterpret_cast<const void*>(&FakeRuntime::Notify)), 0),
            0);
        FakeRuntime::Allocations() = 0;
    }
    void TearDown() override {
        EXPECT_TRUE(FakeRuntime::Live().empty())
            << FakeRuntime::Live().size() << " runtime blocks leaked";
        // A leak is this test's failure only, not every later test's.
        for (const void* block : FakeRuntime::Live()) std::free(const_cast<void*>(block));
        FakeRuntime::Live().clear();
    }
};

// Runs each test in a fresh folder, so that file names are relative as in
// the program and leftovers are visible.
class SqliteFileTest : public SqliteLibTest {
  protected:
    void SetUp() override {
        SqliteLibTest::SetUp();
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ =
            std::filesystem::temp_directory_path() / ("sqlitelib_" + std::string(info->name()) +
                                                      "_" + std::to_string(std::random_device{}()));
        std::filesystem::remove_all(folder_);
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
