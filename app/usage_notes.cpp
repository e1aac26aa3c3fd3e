// The usage notes behind the "说明" button.
#include "app/game_routines.h"
#include "app/program_calls.h"
#include "app/program_helpers.h"
#include "app/program_texts.h"

void ShowUsageNotes() {
    LineEnd end;
    char* notes = JoinTexts({kTexts.notesLine1, end.cr, end.lf, kTexts.notesLine2, end.cr, end.lf});
    ShowMessage(notes, kBoxOk, kTexts.titleNotes);
    ProgramRelease(notes);
}
