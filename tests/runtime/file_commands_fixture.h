// The fixture of the file command tests, on both sides: a scratch folder of
// the test's own, and the commands called the way program code calls them.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

#include "core_call.h"
#include "runtime/notify.h"
#include "runtime/open_files.h"
#include "scratch_folder.h"

inline ArgValue Number(uint32_t fileNumber) {
    return MakeInt(static_cast<int32_t>(fileNumber));
}

class FileCommands : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(folder_.Made()) << folder_.dir(); }
    // Open files would keep the folder from going on Windows.
    void TearDown() override { CallCore(kCmdCloseAllFiles, {}); }

    const char* Name(const std::string& file) {  // lives as long as the test
        return names_.emplace_back(folder_.Path(file)).c_str();
    }
    void Put(const std::string& file, const std::string& bytes) { folder_.Put(file, bytes); }
    std::string Get(const std::string& file) { return folder_.Get(file); }
    bool Exists(const std::string& file) { return folder_.Exists(file); }

    uint32_t Open(const std::string& file, ArgValue mode, ArgValue share) {
        return CallCore(kCmdOpenFile, {MakeText(Name(file)), mode, share}).low;
    }
    uint32_t Open(const std::string& file, int32_t mode, int32_t share) {
        return Open(file, MakeInt(mode), MakeInt(share));
    }
    std::string Read(uint32_t number, int32_t length) {
        return TakeByteSet(CallCore(kCmdReadByteSet, {Number(number), MakeInt(length)}));
    }
    bool Write(uint32_t number, std::initializer_list<ArgValue> byteSets) {
        std::vector<ArgValue> args = {Number(number)};
        args.insert(args.end(), byteSets);
        return g_services
                   .CallCoreCommand(CoreCommandEntry(kCmdWriteByteSet),
                                    static_cast<int32_t>(args.size()), args.data())
                   .low != 0;
    }
    bool Move(uint32_t number, ArgValue origin, int32_t offset) {
        return CallCore(kCmdMovePosition, {Number(number), origin, MakeInt(offset)}).low != 0;
    }
    int32_t Size(const std::string& file) {
        return ValueInt(CallCore(kCmdFileSize, {MakeText(Name(file))}));
    }

    ScratchFolder folder_{"file_commands"};
    std::deque<std::string> names_;
};
