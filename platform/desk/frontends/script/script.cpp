// The scripted user. `answer` lines wait for the next message box; `wait`
// and `dump` may run while a box is open; every other action is input to the
// program's windows. When the script is used up the user closes the visible
// top-level windows one by one.
#include "platform/desk/frontends/script/script.h"

#include <unistd.h>

#include <deque>
#include <fstream>

#include "platform/desk/frontends/frontend.h"
#include "platform/desk/frontends/script/actions.h"
#include "platform/desk/kernel32/exit.h"
#include "platform/desk/kernel32/log.h"
#include "platform/desk/kernel32/text.h"
#include "platform/desk/user32/user32.h"

namespace desk {

void ScriptError(const ScriptAction& action, const std::string& message) {
    std::string gbk;
    Utf8ToGbk("script line " + std::to_string(action.line) + ": " + message, &gbk);
    LogLine("{\"event\":\"error\",\"text\":" + JsonText(gbk) + "}");
    ExitWithCode(3);
}

namespace {

bool WaitForFile(const ScriptAction& action) {
    std::string path = HostPath(action.rest.c_str());
    for (int elapsed = 0; elapsed < 30000; elapsed += 20) {
        if (access(path.c_str(), F_OK) == 0) return true;
        usleep(20 * 1000);
    }
    ScriptError(action, "waited 30 s for " + action.rest);
}

class ScriptFrontEnd : public FrontEnd {
public:
    explicit ScriptFrontEnd(const char* path) {
        std::ifstream in(path);
        if (!in) {
            ScriptError(ScriptAction{0, "", ""}, std::string("cannot read the script ") + path);
        }
        std::string line;
        int number = 0;
        while (std::getline(in, line)) {
            ++number;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            size_t start = line.find_first_not_of(" \t");
            if (start == std::string::npos || line[start] == '#') continue;
            line.erase(0, start);
            size_t space = line.find(' ');
            ScriptAction action{number, line.substr(0, space),
                                space == std::string::npos ? "" : line.substr(space + 1)};
            actions_.push_back(action);
        }
    }

    bool Idle() override {
        while (!actions_.empty()) {
            ScriptAction action = actions_.front();
            actions_.pop_front();
            if (action.verb == "answer") {
                pendingAnswers_.push_back(action);  // for the next box
                continue;
            }
            RunAction(action);
            return true;
        }
        return CloseOneVisibleWindow();
    }

    int AnswerMessageBox(const std::string&, const std::string&, UINT type, int fallback) override {
        // Actions that need no window may run while the box is open.
        while (pendingAnswers_.empty() && !actions_.empty() &&
               (actions_.front().verb == "dump" || actions_.front().verb == "wait" ||
                actions_.front().verb == "answer")) {
            ScriptAction action = actions_.front();
            actions_.pop_front();
            if (action.verb == "answer") {
                pendingAnswers_.push_back(action);
            } else {
                RunAction(action);
            }
        }
        if (pendingAnswers_.empty()) return fallback;
        ScriptAction action = pendingAnswers_.front();
        pendingAnswers_.pop_front();
        int answer = AnswerFromName(action.rest);
        for (int button : MessageBoxButtons(type)) {
            if (button == answer) return answer;
        }
        ScriptError(action, "the message box has no button " + action.rest);
    }

private:
    static void RunAction(const ScriptAction& action) {
        if (action.verb == "wait") {
            WaitForFile(action);
        } else if (!RunInputAction(action)) {
            ScriptError(action, "unknown action " + action.verb);
        }
    }

    std::deque<ScriptAction> actions_;
    std::deque<ScriptAction> pendingAnswers_;
};

}  // namespace

FrontEnd* MakeScriptFrontEnd(const char* scriptPath) { return new ScriptFrontEnd(scriptPath); }

}  // namespace desk
