// The message boxes a test expects, with one interface on both sides: each
// box this thread shows while a recorder lives is recorded (title and text
// in GBK, the flags the program passed, the button that closed it) and
// answered, with the answers the test names in turn, then with the box's
// default button. The desk's scripted user and transcript do it there; on
// Windows a CBT hook reads and presses the real box.
//
// A death test's child runs the test again from its start, so it makes the
// same recorder and leaves its boxes in the file the recorder's name gives,
// where the parent reads them once the child has ended. Named answers reach
// the boxes of such a child on both sides (the desk's user is chosen when a
// process starts); boxes of the test's own process take their default
// button on the desk.
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"

namespace seenboxes {

struct Box {
    std::string title;  // GBK
    std::string text;   // GBK
    UINT flags;         // as the program passed them to MessageBoxA
    int answer;         // IDOK ... IDNO
    // Windows only: the default button the box itself reports
    // (DM_GETDEFID), 0 for none; always 0 on the desk, which has no box.
    int reportedDefault;
};

class Recorder {
  public:
    // `name` tells this recorder's file apart from other tests' (one test
    // program may run in several processes at once: keep it unique to the
    // test, but the same in a death test's parent and child).
    explicit Recorder(const std::string& name, std::vector<int> answers = {});
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // The boxes recorded so far, in the order they closed.
    std::vector<Box> Boxes() const;

  private:
    std::string path_;    // where the boxes are written
    std::string script_;  // the desk's script of answers ("" for none)
    std::string style_;   // the death test style to put back
};

// The box as one line for a failure message: title, text and flags.
std::string Describe(const Box& box);

}  // namespace seenboxes
