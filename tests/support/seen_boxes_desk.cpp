// The desk's side of the box recorder: its transcript records the boxes
// (redirected to the recorder's file), and its scripted user answers them.
// The desk chooses its user from DESK_SCRIPT as a process starts, so the
// answers are written as a script that a death test's child, started
// afresh, takes up.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <fstream>

#include "platform/desk/kernel32/log.h"
#include "platform/desk/user32/user32.h"
#include "platform/gbk_codec.h"
#include "platform/utf8_codec.h"
#include "tests/support/seen_boxes.h"
#include "tests/support/seen_boxes_file.h"

namespace seenboxes {
namespace {

// Reads the JSON text that starts at `at` (just past its opening quote) back
// into GBK: the transcript wrote GBK characters as UTF-8 and a byte that is
// no GBK character as \u00XX. Stops past the closing quote.
std::string ReadText(const std::string& line, size_t* at) {
    std::string gbkText;
    size_t i = *at;
    while (i < line.size() && line[i] != '"') {
        if (line[i] == '\\' && i + 1 < line.size()) {
            char kind = line[i + 1];
            i += 2;
            switch (kind) {
                case 'n':
                    gbkText += '\n';
                    break;
                case 'r':
                    gbkText += '\r';
                    break;
                case 't':
                    gbkText += '\t';
                    break;
                case 'u': {
                    unsigned value = 0;
                    std::sscanf(line.c_str() + i, "%4x", &value);
                    gbkText += static_cast<char>(value);
                    i += 4;
                    break;
                }
                default:
                    gbkText += kind;
            }
            continue;
        }
        uint32_t codePoint = 0;
        size_t used = utf8::Decode(reinterpret_cast<const uint8_t*>(line.data()) + i,
                                   line.size() - i, &codePoint);
        if (used == 0) {  // not the transcript's own writing: keep the byte
            gbkText += line[i++];
            continue;
        }
        uint8_t bytes[2];
        size_t length =
            codePoint <= 0xFFFF ? gbk::EncodeChar(static_cast<uint16_t>(codePoint), bytes) : 0;
        if (length == 0) {
            gbkText += '?';
        } else {
            gbkText.append(reinterpret_cast<const char*>(bytes), length);
        }
        i += used;
    }
    *at = i + 1;
    return gbkText;
}

// The text of a "name":"..." field, or "" when the line has none.
std::string Field(const std::string& line, const char* name) {
    std::string key = std::string("\"") + name + "\":\"";
    size_t at = line.find(key);
    if (at == std::string::npos) return "";
    at += key.size();
    return ReadText(line, &at);
}

}  // namespace

Recorder::Recorder(const std::string& name, std::vector<int> answers) : path_(RecordPath(name)) {
    // A child run makes this recorder again over the parent's file: it
    // starts it afresh and the parent reads what the child left.
    std::fclose(std::fopen(path_.c_str(), "w"));
    desk::SetLogPath(path_);
    if (answers.empty()) return;
    script_ = path_ + ".script";
    std::ofstream script(script_);
    for (int answer : answers) script << "answer " << desk::AnswerName(answer) << "\n";
    setenv("DESK_SCRIPT", script_.c_str(), 1);
    // Only a child started afresh reads the script.
    style_ = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
}

Recorder::~Recorder() {
    desk::SetLogPath("");
    if (!script_.empty()) {
        unsetenv("DESK_SCRIPT");
        GTEST_FLAG_SET(death_test_style, style_);
        std::remove(script_.c_str());
    }
    std::remove(path_.c_str());
}

std::vector<Box> Recorder::Boxes() const {
    std::vector<Box> boxes;
    std::ifstream in(path_);
    for (std::string line; std::getline(in, line);) {
        if (line.find("{\"event\":\"messagebox\"") != 0) continue;
        Box box;
        box.title = Field(line, "title");
        box.text = Field(line, "text");
        size_t flags = line.find("\"flags\":");
        box.flags = flags == std::string::npos
                        ? 0
                        : static_cast<UINT>(std::strtoul(line.c_str() + flags + 8, nullptr, 10));
        box.answer = desk::AnswerFromName(Field(line, "answer"));
        box.reportedDefault = 0;
        boxes.push_back(box);
    }
    return boxes;
}

}  // namespace seenboxes
