// The drop editor's routines: the start-up check of the game file, the
// reading of the current values, the apply, and the usage notes.
#pragma once

// Event 0 of the main window: checks the game file and extracts its database.
void CheckGameFile();
void ExtractDatabase();
// Reads the current values from "pe.bin" into the window and the snapshot.
void LoadDropValues();
// Click of 按钮1: rescales the drop values and writes the database back.
void ApplyChanges();
void WriteBackDatabase();
// Click of 按钮2.
void ShowUsageNotes();

// Closes the main window through a queued request and lets it happen.
void CloseMainWindow();
