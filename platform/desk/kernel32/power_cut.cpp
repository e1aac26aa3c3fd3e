// DESK_POWER_CUT: the operation count and the cut itself, over the record
// of what is not yet on the disk.
#include "platform/desk/kernel32/power_cut.h"

#include <cstdlib>

#include "platform/desk/kernel32/faults.h"
#include "platform/desk/kernel32/log.h"
#include "platform/desk/kernel32/power_cut_record.h"

namespace desk {
namespace {

struct Plan {
    bool staged = false;
    bool counting = false;  // `count`: log every operation, cut none
    uint64_t at = 0;        // the operation after which the cut comes
    CutOutcome outcome = CutOutcome::kKeepAll;
    uint32_t seed = 0;
    uint64_t seen = 0;
};

bool ParseOutcome(const std::string& text, CutOutcome* outcome) {
    static const struct {
        const char* name;
        CutOutcome outcome;
    } kOutcomes[] = {{"lose-all", CutOutcome::kLoseAll},
                     {"keep-all", CutOutcome::kKeepAll},
                     {"keep-some-writes", CutOutcome::kKeepSomeWrites},
                     {"keep-some-names", CutOutcome::kKeepSomeNames},
                     {"keep-some", CutOutcome::kKeepSome}};
    for (const auto& known : kOutcomes) {
        if (text == known.name) {
            *outcome = known.outcome;
            return true;
        }
    }
    return false;
}

bool ParseNumber(const std::string& text, uint64_t* number) {
    char* end = nullptr;
    *number = std::strtoull(text.c_str(), &end, 10);
    return !text.empty() && *end == '\0';
}

// A value the desk cannot read stages nothing, as with DESK_FAULT.
Plan Parse(const char* text) {
    Plan plan;
    if (text == nullptr) return plan;
    std::string spec = text;
    if (spec == "count") {
        plan.staged = plan.counting = true;
        return plan;
    }
    size_t first = spec.find(':');
    if (first == std::string::npos) return plan;
    size_t second = spec.find(':', first + 1);
    std::string outcome = spec.substr(first + 1, second == std::string::npos ? std::string::npos
                                                                              : second - first - 1);
    uint64_t seed = 0;
    if (!ParseNumber(spec.substr(0, first), &plan.at) || plan.at == 0 ||
        !ParseOutcome(outcome, &plan.outcome) ||
        (second != std::string::npos && !ParseNumber(spec.substr(second + 1), &seed))) {
        return plan;
    }
    plan.seed = static_cast<uint32_t>(seed);
    plan.staged = true;
    return plan;
}

Plan& ThePlan() {
    static Plan plan = Parse(std::getenv("DESK_POWER_CUT"));
    return plan;
}

PowerCutRecord& TheRecord() {
    static PowerCutRecord record;
    return record;
}

std::string BaseName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void Count(const char* kind, const std::string& path) {
    Plan& plan = ThePlan();
    ++plan.seen;
    if (plan.counting) {
        // Names are the desk's own or SQLite's and hold no quotes.
        LogLine("{\"event\":\"file-op\",\"n\":" + std::to_string(plan.seen) + ",\"op\":\"" + kind +
                "\",\"file\":\"" + BaseName(path) + "\"}");
        return;
    }
    if (plan.seen != plan.at) return;
    TheRecord().Leave(plan.outcome, plan.seed);
    CrashNow();
}

}  // namespace

bool PowerCutStaged() { return ThePlan().staged; }

void CutWillWrite(const std::string& path, int64_t offset, uint64_t length) {
    if (PowerCutStaged()) TheRecord().WillWrite(CanonicalPath(path), offset, length);
}

void CutWillTruncate(const std::string& path, int64_t size) {
    if (PowerCutStaged()) TheRecord().WillTruncate(CanonicalPath(path), size);
}

void CutWillDelete(const std::string& path) {
    if (PowerCutStaged()) TheRecord().WillDelete(CanonicalPath(path));
}

void CutOperationDone(const char* kind, const std::string& path) {
    if (PowerCutStaged()) Count(kind, path);
}

void CutCreated(const std::string& path) {
    if (!PowerCutStaged()) return;
    TheRecord().Created(CanonicalPath(path));
    Count("create", path);
}

void CutFlushed(const std::string& path) {
    if (!PowerCutStaged()) return;
    TheRecord().Flushed(CanonicalPath(path));
    Count("flush", path);
}

void CutFolderFlushed(const std::string& folder) {
    if (!PowerCutStaged()) return;
    // The folder's own real path, as its files' folders are resolved.
    std::string resolved = CanonicalPath(folder + "/x");
    TheRecord().FolderFlushed(resolved.substr(0, resolved.size() - 2));
    Count("flush-folder", folder);
}

}  // namespace desk
