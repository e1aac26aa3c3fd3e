// The program's constant data.
#include "app/program_texts.h"

const ProgramTexts kTexts = {
#define DROPEDIT_TEXT_VALUE(name, text) text,
    DROPEDIT_PROGRAM_TEXTS(DROPEDIT_TEXT_VALUE)
#undef DROPEDIT_TEXT_VALUE
};
