// Starting a program in a child process with DESK_SCRIPT and DESK_LOG set.
#include "program_run.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

std::vector<std::string> ProgramRun::Events(const std::string& event) const {
    std::vector<std::string> out;
    std::string key = "{\"event\":\"" + event + "\"";
    for (const std::string& line : lines) {
        if (line.compare(0, key.size(), key) == 0) out.push_back(line);
    }
    return out;
}

bool ProgramRun::Has(const std::string& fragment) const { return All().find(fragment) != std::string::npos; }

std::string ProgramRun::All() const {
    std::string all;
    for (const std::string& line : lines) all += line + "\n";
    return all;
}

std::string MakeTempFolder(const std::string& name) {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string base = ::testing::TempDir() + "dropedit_e2e_" + std::to_string(getpid()) + "_" +
                       (info != nullptr ? std::string(info->name()) : "x") + "_" + name;
    std::string command = "rm -rf '" + base + "' && mkdir -p '" + base + "'";
    if (std::system(command.c_str()) != 0) ADD_FAILURE() << "cannot make " << base;
    return base;
}

ProgramRun RunProgramBinary(const ProgramLaunch& launch) {
    std::string folder = MakeTempFolder("run");
    std::string log = folder + "/transcript.jsonl";
    std::string scriptPath;
    if (!launch.script.empty()) {
        scriptPath = folder + "/script.txt";
        std::ofstream(scriptPath) << launch.script;
    }
    pid_t pid = fork();
    if (pid == 0) {
        if (!launch.workingFolder.empty() && chdir(launch.workingFolder.c_str()) != 0) _exit(120);
        setenv("DESK_LOG", log.c_str(), 1);
        if (scriptPath.empty()) {
            unsetenv("DESK_SCRIPT");
        } else {
            setenv("DESK_SCRIPT", scriptPath.c_str(), 1);
        }
        for (const auto& entry : launch.env) setenv(entry.first.c_str(), entry.second.c_str(), 1);
        execl(launch.binary.c_str(), launch.binary.c_str(), static_cast<char*>(nullptr));
        _exit(121);
    }
    ProgramRun run;
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status)) run.exitStatus = WEXITSTATUS(status);
    std::ifstream in(log);
    for (std::string line; std::getline(in, line);) run.lines.push_back(line);
    return run;
}
