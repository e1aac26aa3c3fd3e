// The transcript file is opened on first use and flushed after every line,
// so that a process that ends abruptly leaves a complete transcript.
#include "platform/desk/desk_log.h"

#include "platform/desk/desk_env.h"

#include <cstdio>
#include <cstdlib>

namespace desk {

void LogLine(const std::string& json) {
    static FILE* file = [] {
        const std::string& path = EnvPath("DESK_LOG");
        return path.empty() ? nullptr : std::fopen(path.c_str(), "a");
    }();
    if (file == nullptr) return;
    std::fputs(json.c_str(), file);
    std::fputc('\n', file);
    std::fflush(file);
}

}  // namespace desk
