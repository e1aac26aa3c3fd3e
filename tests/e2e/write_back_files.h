// What the drop editor keeps in its folder around a write-back, as the
// end-to-end tests look at it.
#pragma once

#include <string>
#include <vector>

#include "demo_install.h"

extern const char* const kOriginalSlotFile;
extern const char* const kOriginalRecordFile;
extern const char* const kPendingFiles[3];  // record, new slot, old slot

std::string InFolder(const DemoInstall& demo, const std::string& name);
bool Exists(const std::string& path);
std::string ReadText(const std::string& path);
// Flips one byte of a file in place.
void FlipByte(const std::string& path, long long offset);

// Patterned bytes around the slot and at both ends of the game file, so
// that a write that strays outside the slot shows; Outside() reads them.
void MarkOutsideTheSlot(const DemoInstall& demo);
std::vector<char> Outside(const DemoInstall& demo);
