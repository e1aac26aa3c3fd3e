// Benchmark of dropedit on demo installations: start-up to the window shown
// with its values, and an apply from the click to the success message, as
// medians over several runs of the real binary under the scripted user.
// Beside them, in the same run, the same UPDATE statements run one
// transaction per statement without an index (the engine's autocommit).
//
//   bench_dropedit DROPEDIT MAKE_DEMO_GAME WORK_FOLDER [RUNS=5]
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr long long kSlotOffset = 532160740;
constexpr long long kSlotLength = 2136068;

double Seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void Shell(const std::string& command) {
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "bench_dropedit: failed: %s\n", command.c_str());
        std::exit(1);
    }
}

bool LogHas(const std::string& path, const std::string& fragment) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str().find(fragment) != std::string::npos;
}

struct Timing {
    double toShow;  // start to the "show" line in the transcript
    double whole;   // start to the process's exit
};

// Runs dropedit in `folder` with the script; the transcript is polled for the
// window's first showing.
Timing RunOnce(const std::string& folder, const std::string& script) {
    std::string log = folder + "/bench_log.jsonl";
    std::string scriptPath = folder + "/bench_script.txt";
    std::remove(log.c_str());
    std::ofstream(scriptPath) << script;
    Clock::time_point start = Clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        setenv("DESK_LOG", log.c_str(), 1);
        setenv("DESK_SCRIPT", scriptPath.c_str(), 1);
        std::string program = folder + "/dropedit";
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(121);
    }
    Timing timing{-1, -1};
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (timing.toShow < 0 && LogHas(log, "\"event\":\"show\"")) timing.toShow = Seconds(start);
        usleep(500);
    }
    timing.whole = Seconds(start);
    if (timing.toShow < 0 && LogHas(log, "\"event\":\"show\"")) timing.toShow = timing.whole;
    if (!LogHas(log, "\"event\":\"exit\",\"code\":0")) {
        std::fprintf(stderr, "bench_dropedit: a run did not end normally (%s)\n", log.c_str());
        std::exit(1);
    }
    return timing;
}

std::string Query(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    std::string value;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW) {
        const unsigned char* text = sqlite3_column_text(stmt, 0);
        value = text != nullptr ? reinterpret_cast<const char*>(text) : "";
    }
    sqlite3_finalize(stmt);
    return value;
}

std::string Scaled(const std::string& piece, double now, double typed) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.13g", std::atof(piece.c_str()) / now * typed);
    return buffer;
}

// The apply's statements for meat 3, item 1, kettle 7, each run on its own
// (autocommit), without an index: the batch as the engine runs it when the
// batch carries no transaction.
double BaselineSeconds(const std::string& game, const std::string& scratch) {
    std::vector<char> slot(static_cast<size_t>(kSlotLength));
    std::ifstream in(game, std::ios::binary);
    in.seekg(kSlotOffset);
    in.read(slot.data(), kSlotLength);
    std::ofstream(scratch, std::ios::binary).write(slot.data(), kSlotLength);

    sqlite3* db = nullptr;
    sqlite3_open(scratch.c_str(), &db);
    double meatNow = std::trunc(std::atof(Query(db, "SELECT meat_drop FROM ai_data ORDER BY rowid").c_str()) / 18.0);
    double itemNow = std::trunc(std::atof(Query(db, "SELECT item_drop FROM ai_data ORDER BY rowid").c_str()) / 2.0);
    std::vector<std::string> statements;
    sqlite3_stmt* rows = nullptr;
    sqlite3_prepare_v2(db, "SELECT monster_ID, meat_drop, item_drop FROM ai_data ORDER BY rowid", -1, &rows, nullptr);
    while (sqlite3_step(rows) == SQLITE_ROW) {
        std::string id = reinterpret_cast<const char*>(sqlite3_column_text(rows, 0));
        std::string meat = reinterpret_cast<const char*>(sqlite3_column_text(rows, 1));
        std::string item = reinterpret_cast<const char*>(sqlite3_column_text(rows, 2));
        size_t m = meat.find(';'), i = item.find(';');
        statements.push_back("update ai_data set meat_drop='" + Scaled(meat.substr(0, m), meatNow, 3) + ";" +
                             Scaled(meat.substr(m + 1), meatNow, 3) + "',item_drop='" +
                             Scaled(item.substr(0, i), itemNow, 1) + ";" + item.substr(i + 1) +
                             "' where monster_ID='" + id + "';\r\n");
    }
    sqlite3_finalize(rows);
    statements.push_back("update skill set _itemsGot='0;40010028,7' where _id='10441';");
    std::string batch;
    for (const std::string& s : statements) batch += s;

    Clock::time_point start = Clock::now();
    sqlite3_exec(db, batch.c_str(), nullptr, nullptr, nullptr);
    double seconds = Seconds(start);
    sqlite3_close(db);
    std::remove(scratch.c_str());
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: bench_dropedit DROPEDIT MAKE_DEMO_GAME WORK_FOLDER [RUNS=5]\n");
        return 2;
    }
    std::string dropedit = argv[1], maker = argv[2], work = argv[3];
    int runs = argc > 4 ? std::atoi(argv[4]) : 5;
    const char* applyScript = "clear 100\ntype 100 3\nclear 140\ntype 140 1\nclear 200\ntype 200 7\nclick 160\nanswer OK\n";
    const char* typeOnlyScript = "clear 100\ntype 100 3\nclear 140\ntype 140 1\nclear 200\ntype 200 7\n";

    std::printf("%-6s %14s %14s %14s %16s\n", "rows", "start-up (s)", "apply (s)", "baseline (s)", "baseline/apply");
    for (int rows : {600, 9999}) {
        std::string folder = work + "/bench_" + std::to_string(rows);
        std::vector<double> show, apply;
        for (int r = 0; r < runs; ++r) {
            // A fresh installation for every run: each apply starts from the
            // same game data.
            Shell("rm -rf '" + folder + "' && '" + maker + "' '" + folder + "' " + std::to_string(rows) +
                  " 1 >/dev/null && cp '" + dropedit + "' '" + folder + "/dropedit'");
            Timing typed = RunOnce(folder, typeOnlyScript);
            Shell("rm -rf '" + folder + "' && '" + maker + "' '" + folder + "' " + std::to_string(rows) +
                  " 1 >/dev/null && cp '" + dropedit + "' '" + folder + "/dropedit'");
            Timing applied = RunOnce(folder, applyScript);
            show.push_back(typed.toShow);
            show.push_back(applied.toShow);
            // The click's share of the run: the same run without the click
            // subtracted.
            apply.push_back(applied.whole - typed.whole);
        }
        Shell("rm -rf '" + folder + "' && '" + maker + "' '" + folder + "' " + std::to_string(rows) + " 1 >/dev/null");
        double baseline = BaselineSeconds(folder + "/PE_Client_Data/resources.assets", folder + "/baseline.db");
        double applyMedian = Median(apply);
        std::printf("%-6d %14.4f %14.4f %14.3f %16.1f\n", rows, Median(show), applyMedian, baseline,
                    applyMedian > 0 ? baseline / applyMedian : 0.0);
        std::fflush(stdout);
        Shell("rm -rf '" + folder + "'");
    }
    return 0;
}
