// The write-back tests' world: a fresh game folder with a sparse game file
// of the accepted size as the working folder, the editor's state as a
// start-up that read an all-zero slot would leave it, and a recorder for
// the boxes the write-back shows.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/checksum.h"
#include "app/editor_state.h"
#include "app/program_texts.h"
#include "platform/win32.h"
#include "tests/support/seen_boxes.h"

namespace writeback {

constexpr long long kGameSize = 653572248;
constexpr long long kOffset = 532160740;
constexpr long long kSlot = 2136068;
constexpr char kGameFile[] = "PE_Client_Data/resources.assets";

inline std::string TestName() {
    return ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

class WriteBack : public ::testing::Test {
  protected:
    WriteBack() : boxes_("write_back_" + TestName()) {}

    void SetUp() override {
        namespace fs = std::filesystem;
        previous_ = fs::current_path();
        // With a random part: the same test may run in two processes at
        // once (two builds' tests in parallel).
        folder_ = fs::path(::testing::TempDir()) /
                  ("write_back_" + TestName() + "_" + std::to_string(std::random_device()()));
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "PE_Client_Data");
        fs::current_path(folder_);
        std::ofstream(kGameFile, std::ios::binary).close();
        GrowTo(kGameFile, kGameSize);
        g_editor.game_file_path = kTexts.gamePath;
        g_editor.db_offset = kOffset;
        g_editor.expected_file_size = kGameSize;
        g_editor.db_length = kSlot;
        // The slot this run read at start-up: all zeros in a fresh sparse file.
        std::vector<char> zeros(static_cast<size_t>(kSlot), 0);
        g_editor.slot_checksum = Crc32(zeros.data(), static_cast<uint32_t>(kSlot));
        g_editor.start_checksum = g_editor.slot_checksum;
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    // Makes a file that long by writing its last byte, which leaves the
    // rest a hole on the file systems that have them. (MinGW's
    // std::filesystem::resize_file refuses the game file's size.)
    static void GrowTo(const char* path, long long size) {
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(size - 1);
        file.put('\0');
        ASSERT_TRUE(file.good()) << path;
    }

    // A cache file of that many patterned bytes.
    static std::vector<char> WriteCache(long long length) {
        std::vector<char> bytes(static_cast<size_t>(length));
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + 1);
        std::ofstream("pe.bin", std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return bytes;
    }

    static std::vector<char> ReadRange(const char* path, long long offset, long long length) {
        std::vector<char> bytes(static_cast<size_t>(length));
        std::ifstream in(path, std::ios::binary);
        in.seekg(offset);
        in.read(bytes.data(), length);
        bytes.resize(static_cast<size_t>(in.gcount()));
        return bytes;
    }

    static long long SizeOf(const char* path) {
        std::error_code error;
        std::uintmax_t size = std::filesystem::file_size(path, error);
        return error ? -1 : static_cast<long long>(size);
    }

    // Every box shown so far, one a line, for failure messages.
    std::string Shown() const {
        std::string all;
        for (const seenboxes::Box& box : boxes_.Boxes()) all += seenboxes::Describe(box) + "\n";
        return all;
    }

    // Whether a box whose text holds `part` was shown.
    bool ShowedText(const std::string& part) const {
        for (const seenboxes::Box& box : boxes_.Boxes()) {
            if (box.text.find(part) != std::string::npos) return true;
        }
        return false;
    }

    seenboxes::Recorder boxes_;
    std::filesystem::path folder_;
    std::filesystem::path previous_;
};

}  // namespace writeback
