// The desk's transcript: one JSON object a line in the file DESK_LOG names.
#pragma once

#include <string>

namespace desk {

// Appends one line (a complete JSON object) and flushes; no-op without DESK_LOG.
void LogLine(const std::string& json);

// Sends the transcript to another file from now on ("" for none); for tests
// that run several programs' worth of transcript in one process.
void SetLogPath(const std::string& path);

}  // namespace desk
