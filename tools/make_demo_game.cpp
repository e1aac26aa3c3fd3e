// Makes a demo game installation for trying and testing dropedit: a folder
// holding PE_Client_Data/resources.assets of exactly the accepted size (a
// sparse file) with a generated SQLite database in its database slot.
// Nothing in it comes from the real game.
//
//   make_demo_game FOLDER [AI_ROWS=600] [SEED=1] [FILLER_KB=0]
//
// FILLER_KB adds a table of that much incompressible filler, to bring the
// database near the slot's size.
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr long long kGameFileSize = 653572248;
constexpr long long kSlotOffset = 532160740;
constexpr long long kSlotLength = 2136068;
constexpr int kMaxRows = 9999;
constexpr int kSkillRows = 400;
constexpr int kKettleRow = 385;

// A small deterministic generator, so that a seed always gives the same game.
struct Random {
    unsigned long long state;
    unsigned Next(unsigned bound) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<unsigned>(state >> 33) % bound;
    }
};

bool Exec(sqlite3* db, const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "make_demo_game: %s\n", error != nullptr ? error : "sqlite error");
        sqlite3_free(error);
        return false;
    }
    return true;
}

// Columns c02.. are filler; only the named columns' positions matter.
std::string AiDataSchema() {
    std::string sql = "CREATE TABLE ai_data(monster_ID TEXT";
    for (int column = 2; column <= 44; ++column) {
        if (column == 23) {
            sql += ", meat_drop TEXT";
        } else if (column == 40) {
            sql += ", item_drop TEXT";
        } else {
            sql += ", c" + std::to_string(column) + " INTEGER";
        }
    }
    return sql + ");";
}

std::string SkillSchema() {
    std::string sql = "CREATE TABLE skill(_id INTEGER";
    for (int column = 2; column <= 40; ++column) {
        sql += column == 38 ? ", _itemsGot TEXT" : ", s" + std::to_string(column) + " INTEGER";
    }
    return sql + ");";
}

bool Populate(sqlite3* db, int rows, int fillerKb, Random& random) {
    if (!Exec(db, "PRAGMA page_size=1024; BEGIN;") || !Exec(db, AiDataSchema()) || !Exec(db, SkillSchema()) ||
        !Exec(db, "CREATE TABLE item_names(_id INTEGER PRIMARY KEY, name TEXT);")) {
        return false;
    }
    sqlite3_stmt* ai = nullptr;
    std::string insert = "INSERT INTO ai_data VALUES(?1";
    for (int column = 2; column <= 44; ++column) insert += ",?" + std::to_string(column);
    insert += ");";
    sqlite3_prepare_v2(db, insert.c_str(), -1, &ai, nullptr);
    for (int row = 1; row <= rows; ++row) {
        std::string id = std::to_string(1000 + row);
        // The first row fixes the current multipliers: meat 36 / 18 = 2, item 4 / 2 = 2.
        std::string meat = row == 1 ? "36;54" : std::to_string(18 * (1 + random.Next(8))) + ";" +
                                                    std::to_string(random.Next(120));
        std::string item = row == 1 ? "4;1" : std::to_string(2 * random.Next(6)) + ";" +
                                                  std::to_string(1 + random.Next(3));
        sqlite3_reset(ai);
        sqlite3_bind_text(ai, 1, id.c_str(), -1, SQLITE_TRANSIENT);
        for (int column = 2; column <= 44; ++column) {
            if (column == 23) {
                sqlite3_bind_text(ai, column, meat.c_str(), -1, SQLITE_TRANSIENT);
            } else if (column == 40) {
                sqlite3_bind_text(ai, column, item.c_str(), -1, SQLITE_TRANSIENT);
            } else {
                sqlite3_bind_int(ai, column, static_cast<int>(random.Next(100)));
            }
        }
        if (sqlite3_step(ai) != SQLITE_DONE) return false;
    }
    sqlite3_finalize(ai);

    sqlite3_stmt* skill = nullptr;
    insert = "INSERT INTO skill VALUES(?1";
    for (int column = 2; column <= 40; ++column) insert += ",?" + std::to_string(column);
    insert += ");";
    sqlite3_prepare_v2(db, insert.c_str(), -1, &skill, nullptr);
    for (int row = 1; row <= kSkillRows; ++row) {
        // Ids skip 10441 except on the kettle's row, so it is found by its id.
        int id = row == kKettleRow ? 10441 : 20000 + row;
        std::string got = row == kKettleRow ? "0;40010028,5" : "0;4002" + std::to_string(1000 + row) + ",1";
        sqlite3_reset(skill);
        sqlite3_bind_int(skill, 1, id);
        for (int column = 2; column <= 40; ++column) {
            if (column == 38) {
                sqlite3_bind_text(skill, column, got.c_str(), -1, SQLITE_TRANSIENT);
            } else {
                sqlite3_bind_int(skill, column, static_cast<int>(random.Next(10)));
            }
        }
        if (sqlite3_step(skill) != SQLITE_DONE) return false;
    }
    sqlite3_finalize(skill);
    if (fillerKb > 0) {
        sqlite3_stmt* filler = nullptr;
        if (!Exec(db, "CREATE TABLE scenery(_id INTEGER PRIMARY KEY, data BLOB);")) return false;
        sqlite3_prepare_v2(db, "INSERT INTO scenery(data) VALUES(?1);", -1, &filler, nullptr);
        std::vector<unsigned char> block(1000);
        for (int kb = 0; kb < fillerKb; ++kb) {
            for (unsigned char& b : block) b = static_cast<unsigned char>(random.Next(256));
            sqlite3_reset(filler);
            sqlite3_bind_blob(filler, 1, block.data(), static_cast<int>(block.size()), SQLITE_TRANSIENT);
            if (sqlite3_step(filler) != SQLITE_DONE) return false;
        }
        sqlite3_finalize(filler);
    }
    return Exec(db, "INSERT INTO item_names(name) VALUES('sprout'),('pebble'),('reed'),('ember');") &&
           Exec(db, "COMMIT; VACUUM;");
}

std::vector<char> ReadWhole(const std::string& path) {
    std::vector<char> bytes;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return bytes;
    char buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(file);
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 5) {
        std::fprintf(stderr, "usage: make_demo_game FOLDER [AI_ROWS=600] [SEED=1] [FILLER_KB=0]\n");
        return 2;
    }
    std::string folder = argv[1];
    int rows = argc > 2 ? std::atoi(argv[2]) : 600;
    Random random{argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 1};
    int fillerKb = argc > 4 ? std::atoi(argv[4]) : 0;
    if (rows < 1 || rows > kMaxRows) {
        std::fprintf(stderr, "make_demo_game: AI_ROWS must be 1 to %d\n", kMaxRows);
        return 2;
    }
    std::string data = folder + "/PE_Client_Data";
    std::error_code made;
    std::filesystem::create_directories(data, made);
    if (made) {
        std::fprintf(stderr, "make_demo_game: cannot make %s: %s\n", data.c_str(), made.message().c_str());
        return 1;
    }

    std::string scratch = data + "/.demo_db.tmp";
    std::remove(scratch.c_str());
    sqlite3* db = nullptr;
    bool ok = sqlite3_open(scratch.c_str(), &db) == SQLITE_OK && Populate(db, rows, fillerKb, random);
    sqlite3_close(db);
    std::vector<char> database = ReadWhole(scratch);
    std::remove(scratch.c_str());
    if (!ok || database.empty()) {
        std::fprintf(stderr, "make_demo_game: cannot build the database in %s\n", scratch.c_str());
        return 1;
    }
    if (static_cast<long long>(database.size()) > kSlotLength) {
        std::fprintf(stderr, "make_demo_game: the database (%zu bytes) does not fit the slot\n", database.size());
        return 1;
    }

    std::string game = data + "/resources.assets";
    FILE* file = std::fopen(game.c_str(), "wb");
    bool written = file != nullptr && fseeko(file, kSlotOffset, SEEK_SET) == 0 &&
                   std::fwrite(database.data(), 1, database.size(), file) == database.size() &&
                   ftruncate(fileno(file), kGameFileSize) == 0;
    if (file != nullptr && std::fclose(file) != 0) written = false;
    if (!written) {
        std::fprintf(stderr, "make_demo_game: cannot write %s\n", game.c_str());
        return 1;
    }
    std::printf("%s: %d ai_data rows, database %zu of %lld slot bytes\n", game.c_str(), rows, database.size(),
                kSlotLength);
    return 0;
}
