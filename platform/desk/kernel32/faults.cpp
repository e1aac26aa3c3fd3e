// The faults of DESK_FAULT, read once, counted for the whole process.
#include "platform/desk/kernel32/faults.h"

#include "platform/desk/kernel32/power_cut.h"
#include "platform/desk/kernel32/sqlite_files.h"

#include <signal.h>
#include <unistd.h>

#include <cstdlib>

namespace desk {
namespace {

enum class FaultKind { kNone, kCrashWrite, kCrashFlush, kCrashDelete, kLoseWrite, kHideProgramFile };

struct Fault {
    FaultKind kind = FaultKind::kNone;
    std::string name;    // part of the file names it applies to
    uint64_t count = 0;  // bytes (crash-write) or calls (the others)
    uint64_t seen = 0;   // bytes or calls counted so far
};

Fault Parse(const char* text) {
    Fault fault;
    if (text == nullptr) return fault;
    std::string spec = text;
    size_t first = spec.find(':');
    size_t last = spec.rfind(':');
    if (first == std::string::npos || last == first) return fault;
    std::string kind = spec.substr(0, first);
    std::string count = spec.substr(last + 1);
    char* end = nullptr;
    unsigned long long number = std::strtoull(count.c_str(), &end, 10);
    if (count.empty() || *end != '\0') return fault;
    fault.name = spec.substr(first + 1, last - first - 1);
    fault.count = number;
    if (kind == "crash-write") fault.kind = FaultKind::kCrashWrite;
    if (kind == "crash-flush") fault.kind = FaultKind::kCrashFlush;
    if (kind == "crash-delete") fault.kind = FaultKind::kCrashDelete;
    if (kind == "lose-write") fault.kind = FaultKind::kLoseWrite;
    if (kind == "hide-program-file") fault.kind = FaultKind::kHideProgramFile;
    return fault;
}

// A staged fault or power cut reaches SQLite's files too, through the shim.
Fault Stage(Fault fault) {
    if (fault.kind != FaultKind::kNone || PowerCutStaged()) InstallSqliteShim();
    return fault;
}

Fault& TheFault() {
    static Fault fault = Stage(Parse(std::getenv("DESK_FAULT")));
    return fault;
}

// Read when the process starts, so that the shim is in place before the
// program's first database is opened.
const bool g_staged = (TheFault(), true);

bool Applies(FaultKind kind, const std::string& name) {
    const Fault& fault = TheFault();
    // The end of the name, so that "pe.bin" is the cache and not its journal.
    return fault.kind == kind && name.size() >= fault.name.size() &&
           name.compare(name.size() - fault.name.size(), fault.name.size(), fault.name) == 0;
}

// Counts one call; true when it is the one the fault waits for.
bool CountCall(FaultKind kind, const std::string& name) {
    if (!Applies(kind, name)) return false;
    return ++TheFault().seen == TheFault().count;
}

}  // namespace

WritePlan PlanWrite(const std::string& name, uint32_t length) {
    WritePlan plan{length, false, false};
    if (CountCall(FaultKind::kLoseWrite, name)) {
        plan.pass = 0;
        plan.lost = true;
        return plan;
    }
    if (!Applies(FaultKind::kCrashWrite, name)) return plan;
    Fault& fault = TheFault();
    uint64_t left = fault.count > fault.seen ? fault.count - fault.seen : 0;
    if (left <= length) {
        plan.pass = static_cast<uint32_t>(left);
        plan.crash = true;
    }
    fault.seen += plan.pass;
    return plan;
}

void AfterFlush(const std::string& name) {
    if (CountCall(FaultKind::kCrashFlush, name)) CrashNow();
}

void AfterDelete(const std::string& name) {
    if (CountCall(FaultKind::kCrashDelete, name)) CrashNow();
}

bool HidesProgramFileSource(const std::string& source) {
    const Fault& fault = TheFault();
    return fault.kind == FaultKind::kHideProgramFile && (fault.name == source || fault.name == "all");
}

void CrashNow() {
    kill(getpid(), SIGKILL);
    _exit(137);  // not reached
}

}  // namespace desk
