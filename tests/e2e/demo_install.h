// Demo game installations for end-to-end tests: a folder made by the demo
// maker with the dropedit binary placed in it, and ways to look into and
// change the database in the game file's slot.
#pragma once

#include <string>
#include <vector>

#include "program_run.h"

constexpr long long kGameFileSize = 653572248;
constexpr long long kSlotOffset = 532160740;
constexpr long long kSlotLength = 2136068;

struct DemoInstall {
    std::string folder;  // the game folder, holding dropedit
    std::string GamePath() const { return folder + "/PE_Client_Data/resources.assets"; }
    std::string CachePath() const { return folder + "/pe.bin"; }
    std::string ProgramPath() const { return folder + "/dropedit"; }
};

DemoInstall MakeDemoInstall(const std::string& name, int aiRows = 600, int fillerKb = 0);
ProgramRun RunDropedit(const DemoInstall& demo, const std::string& script);

std::vector<char> ReadFileRange(const std::string& path, long long offset, long long length);
long long FileSize(const std::string& path);

// Copies the slot out to a file, runs SQL on it (or reads it), and writes it
// back into the slot.
std::string ExtractSlot(const DemoInstall& demo, const std::string& name);
void ChangeSlotDatabase(const DemoInstall& demo, const std::string& sql);

// Every row of a table in rowid order, fields joined with '|', rows with '\n'.
std::string DumpTable(const std::string& dbPath, const std::string& table);
// A single value of the first row a query gives, or "(none)".
std::string QueryValue(const std::string& dbPath, const std::string& sql);
// Runs each statement in its own transaction; false if any failed.
bool RunStatements(const std::string& dbPath, const std::vector<std::string>& statements);
