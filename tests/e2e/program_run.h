// Runs a real program binary under the desk's scripted user and collects
// its exit status and transcript.
#pragma once

#include <map>
#include <string>
#include <vector>

struct ProgramRun {
    int exitStatus = -1;             // the process's exit status (0-255), -1 if it did not exit
    std::vector<std::string> lines;  // DESK_LOG lines, UTF-8 JSON

    // Lines whose "event" is the given one.
    std::vector<std::string> Events(const std::string& event) const;
    bool Has(const std::string& fragment) const;
    std::string All() const;
};

struct ProgramLaunch {
    std::string binary;                        // absolute path
    std::string workingFolder;                 // where it is started ("" = current)
    std::string script;                        // DESK_SCRIPT contents ("" = no script)
    std::map<std::string, std::string> env;    // extra environment
};

ProgramRun RunProgramBinary(const ProgramLaunch& launch);

// A fresh empty folder under the test's temporary directory.
std::string MakeTempFolder(const std::string& name);
