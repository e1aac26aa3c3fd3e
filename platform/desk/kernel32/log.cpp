// The transcript file is opened on first use and flushed after every line,
// so that a process that ends abruptly leaves a complete transcript.
#include "platform/desk/kernel32/log.h"

#include "platform/desk/kernel32/env.h"

#include <cstdio>
#include <cstdlib>

namespace desk {

namespace {
FILE* OpenLog(const std::string& path) { return path.empty() ? nullptr : std::fopen(path.c_str(), "a"); }

FILE*& LogFile() {
    static FILE* file = OpenLog(EnvPath("DESK_LOG"));
    return file;
}
}  // namespace

void SetLogPath(const std::string& path) {
    FILE*& file = LogFile();
    if (file != nullptr) std::fclose(file);
    file = OpenLog(path);
}

void LogLine(const std::string& json) {
    FILE* file = LogFile();
    if (file == nullptr) return;
    std::fputs(json.c_str(), file);
    std::fputc('\n', file);
    std::fflush(file);
}

}  // namespace desk
