// Windows only: a unit test program answers every message box its main
// thread shows, with the box's default button unless a recorder of the
// test's says otherwise (seen_boxes.h), so that a box the code under test
// raises (a runtime error in a death test, for one) never waits for a user
// who is not there. On the desk its user does this.
#include "tests/support/seen_boxes_win32.h"

namespace {

const bool kAnswering = (seenboxes::AnswerBoxesOnThisThread(), true);

}  // namespace
