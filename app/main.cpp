// dropedit's executable: the runtime runs the drop editor's program image.
#include "app/program_image.h"
#include "forms/application.h"

DROPEDIT_PROGRAM_ENTRY(DropeditImage())
