// Looking at the files of the write-back.
#include "write_back_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

const char* const kOriginalSlotFile = "dropedit-original-0.751.bin";
const char* const kOriginalRecordFile = "dropedit-original-0.751.txt";
const char* const kPendingFiles[3] = {"dropedit-pending.txt", "dropedit-pending-new.bin",
                                      "dropedit-pending-old.bin"};

namespace {
constexpr long long kMark = 4096;

// (offset, length) of each marked range.
std::vector<std::pair<long long, long long>> MarkedRanges() {
    return {{0, kMark},
            {kSlotOffset - kMark, kMark},
            {kSlotOffset + kSlotLength, kMark},
            {kGameFileSize - kMark, kMark}};
}
}  // namespace

std::string InFolder(const DemoInstall& demo, const std::string& name) {
    return demo.folder + "/" + name;
}

bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void FlipByte(const std::string& path, long long offset) {
    int fd = open(path.c_str(), O_RDWR);
    ASSERT_GE(fd, 0) << path;
    unsigned char byte = 0;
    ASSERT_EQ(pread(fd, &byte, 1, offset), 1);
    byte ^= 0x5A;
    ASSERT_EQ(pwrite(fd, &byte, 1, offset), 1);
    close(fd);
}

void MarkOutsideTheSlot(const DemoInstall& demo) {
    int fd = open(demo.GamePath().c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    for (const auto& range : MarkedRanges()) {
        std::vector<char> bytes(static_cast<size_t>(range.second));
        for (size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<char>((range.first + i) * 31 + 7);
        ASSERT_EQ(pwrite(fd, bytes.data(), bytes.size(), range.first),
                  static_cast<ssize_t>(bytes.size()));
    }
    close(fd);
}

std::vector<char> Outside(const DemoInstall& demo) {
    std::vector<char> all;
    for (const auto& range : MarkedRanges()) {
        std::vector<char> bytes = ReadFileRange(demo.GamePath(), range.first, range.second);
        all.insert(all.end(), bytes.begin(), bytes.end());
    }
    return all;
}
