// The drop editor's program image: its header, its library list and the
// template segment that binds the main window's events to its routines.
#pragma once

#include "forms/program_header.h"

// Builds the image on first use; the segment needs the routines' addresses,
// which are only known when the program runs.
const ProgramImage& DropeditImage();
