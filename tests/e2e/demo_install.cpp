// Making and inspecting demo installations.
#include "demo_install.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

namespace {
void Shell(const std::string& command) {
    if (std::system(command.c_str()) != 0) ADD_FAILURE() << "failed: " << command;
}
}  // namespace

DemoInstall MakeDemoInstall(const std::string& name, int aiRows, int fillerKb) {
    DemoInstall demo{MakeTempFolder(name)};
    Shell(std::string(MAKE_DEMO_GAME) + " '" + demo.folder + "' " + std::to_string(aiRows) + " 1 " +
          std::to_string(fillerKb) + " >/dev/null");
    Shell(std::string("cp '") + DROPEDIT_PROGRAM + "' '" + demo.ProgramPath() + "'");
    return demo;
}

ProgramRun RunDropedit(const DemoInstall& demo, const std::string& script) {
    ProgramLaunch launch;
    launch.binary = demo.ProgramPath();
    launch.script = script.empty() ? "# nothing: the user closes the window\n" : script;
    return RunProgramBinary(launch);
}

std::vector<char> ReadFileRange(const std::string& path, long long offset, long long length) {
    std::vector<char> bytes(static_cast<size_t>(length));
    std::ifstream in(path, std::ios::binary);
    in.seekg(offset);
    in.read(bytes.data(), length);
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

long long FileSize(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? static_cast<long long>(st.st_size) : -1;
}

std::string ExtractSlot(const DemoInstall& demo, const std::string& name) {
    std::string path = MakeTempFolder("slot_" + name) + "/" + name;
    std::vector<char> slot = ReadFileRange(demo.GamePath(), kSlotOffset, kSlotLength);
    std::ofstream(path, std::ios::binary).write(slot.data(), static_cast<std::streamsize>(slot.size()));
    return path;
}

void ChangeSlotDatabase(const DemoInstall& demo, const std::string& sql) {
    std::string path = ExtractSlot(demo, "change.db");
    sqlite3* db = nullptr;
    char* error = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_close(db);
    std::vector<char> bytes = ReadFileRange(path, 0, kSlotLength);
    ASSERT_LE(static_cast<long long>(bytes.size()), kSlotLength);
    bytes.resize(static_cast<size_t>(kSlotLength), 0);
    std::fstream game(demo.GamePath(), std::ios::binary | std::ios::in | std::ios::out);
    game.seekp(kSlotOffset);
    game.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string DumpTable(const std::string& dbPath, const std::string& table) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(dbPath.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    std::string out;
    if (sqlite3_prepare_v2(db, ("SELECT * FROM " + table + " ORDER BY rowid").c_str(), -1, &stmt, nullptr) ==
        SQLITE_OK) {
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                const unsigned char* text = sqlite3_column_text(stmt, c);
                out += text != nullptr ? reinterpret_cast<const char*>(text) : "<null>";
                out += '|';
            }
            out += '\n';
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return out;
}

std::string QueryValue(const std::string& dbPath, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(dbPath.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    std::string value = "(none)";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW) {
        const unsigned char* text = sqlite3_column_text(stmt, 0);
        value = text != nullptr ? reinterpret_cast<const char*>(text) : "<null>";
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return value;
}

bool RunStatements(const std::string& dbPath, const std::vector<std::string>& statements) {
    sqlite3* db = nullptr;
    if (sqlite3_open(dbPath.c_str(), &db) != SQLITE_OK) return false;
    bool ok = true;
    for (const std::string& statement : statements) {
        char* error = nullptr;
        if (sqlite3_exec(db, statement.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            ADD_FAILURE() << statement << ": " << (error != nullptr ? error : "");
            ok = false;
        }
        sqlite3_free(error);
    }
    sqlite3_close(db);
    return ok;
}
