// Windows only: the hook behind the box recorder (tests/support only).
#pragma once

namespace seenboxes {

// Answers every message box this thread shows with its default button,
// or as the thread's recorder says, and lets a recorder see them.
void AnswerBoxesOnThisThread();

}  // namespace seenboxes
