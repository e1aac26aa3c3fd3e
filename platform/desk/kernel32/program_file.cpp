// The program file's host path, from the sources a Linux process has.
#include "platform/desk/kernel32/program_file.h"

#include <sys/auxv.h>
#include <unistd.h>

#include <vector>

#include "platform/desk/kernel32/faults.h"

namespace desk {
namespace {

std::string CurrentFolder() {
    char folder[4096];
    return getcwd(folder, sizeof folder) != nullptr ? std::string(folder) : std::string();
}

// Taken before main: the program moves into its own folder first thing, and
// a relative AT_EXECFN is relative to where the process was started.
const std::string kStartFolder = CurrentFolder();

std::string FromProcLink() {
    if (HidesProgramFileSource("proc")) return "";
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return "";
    return std::string(path, static_cast<size_t>(n));
}

std::string FromExecFn() {
    if (HidesProgramFileSource("execfn")) return "";
    const char* executed = reinterpret_cast<const char*>(getauxval(AT_EXECFN));
    if (executed == nullptr) return "";
    return AbsoluteExecPath(executed, kStartFolder);
}

}  // namespace

std::string AbsoluteExecPath(const std::string& execPath, const std::string& startFolder) {
    if (execPath.empty()) return "";
    std::string joined = execPath;
    if (execPath[0] != '/') {
        if (startFolder.empty() || startFolder[0] != '/') return "";
        joined = startFolder + "/" + execPath;
    }
    std::vector<std::string> segments;
    size_t start = 0;
    while (start <= joined.size()) {
        size_t end = joined.find('/', start);
        if (end == std::string::npos) end = joined.size();
        std::string segment = joined.substr(start, end - start);
        if (segment == "..") {
            // As the kernel resolves it: ".." of the root is the root.
            if (!segments.empty()) segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = end + 1;
    }
    std::string path;
    for (const std::string& segment : segments) path += "/" + segment;
    return path.empty() ? "/" : path;
}

std::string ProgramFileHostPath() {
    std::string path = FromProcLink();
    if (path.empty()) path = FromExecFn();
    return path;
}

}  // namespace desk
