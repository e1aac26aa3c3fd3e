// A test's own folder in the system's temporary folder, and the few things a
// file test does beside the API it checks: put and get bytes, make folders,
// large sparse files and read-only files. These go through std::filesystem
// and the C++ streams (on Windows the UTF-16 API), never through the Win32
// functions under test, so a fault there cannot hide in the setup.
// Names given here are UTF-8; Path() gives the name the A functions take,
// which is the same bytes while the name is ASCII.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
// Files past 4 GiB need 64-bit offsets: the includer defines
// _FILE_OFFSET_BITS as 64 before its first include.
static_assert(sizeof(off_t) == 8, "define _FILE_OFFSET_BITS 64 before any include");
#endif

class ScratchFolder {
  public:
    // The folder is named after the test and the process, so that parallel
    // runs of the same test, from other work trees too, never meet.
    explicit ScratchFolder(const std::string& stem) {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = ::testing::TempDir() + stem + "_" + (test != nullptr ? test->name() : "none") + "_" +
               std::to_string(getpid());
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
        std::filesystem::create_directories(dir_, ignored);
    }
    // Read-only entries are made writable first: Windows deletes none.
    ~ScratchFolder() {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_, ignored))
            Protect(entry.path(), false);
        std::filesystem::remove_all(dir_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& dir() const { return dir_; }
    bool Made() const { return std::filesystem::is_directory(dir_); }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

    void Put(const std::string& name, const std::string& bytes) const {
        std::ofstream(Native(name), std::ios::binary) << bytes;
    }
    std::string Get(const std::string& name) const {
        std::stringstream bytes;
        bytes << std::ifstream(Native(name), std::ios::binary).rdbuf();
        return bytes.str();
    }
    bool Exists(const std::string& name) const { return std::filesystem::exists(Native(name)); }
    bool MakeFolder(const std::string& name) const {
        return std::filesystem::create_directory(Native(name));
    }
    // Clearing the write bits is the read-only attribute on Windows.
    void SetReadOnly(const std::string& name, bool on) const { Protect(Native(name), on); }

    // A file of `size` bytes that takes no disk space where the file system
    // allows (4 GiB + 10 for the tests of the high words).
    bool MakeSparse(const std::string& name, uint64_t size) const {
#ifdef _WIN32
        // The wide function by its own name: the A names of the boundary
        // are the functions under test.
        HANDLE file = CreateFileW(Native(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        LARGE_INTEGER end;
        end.QuadPart = static_cast<LONGLONG>(size);
        bool done = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
        CloseHandle(file);
        return done;
#else
        int fd = open(Path(name).c_str(), O_CREAT | O_WRONLY, 0644);
        bool done = fd >= 0 && ftruncate(fd, static_cast<off_t>(size)) == 0;
        if (fd >= 0) close(fd);
        return done;
#endif
    }
    // One byte of a file, or -1 past its end.
    int ByteAt(const std::string& name, uint64_t offset) const {
        std::ifstream in(Native(name), std::ios::binary);
        in.seekg(static_cast<std::streamoff>(offset));
        return in.get();
    }
    bool PutAt(const std::string& name, uint64_t offset, const std::string& bytes) const {
        std::fstream out(Native(name), std::ios::binary | std::ios::in | std::ios::out);
        out.seekp(static_cast<std::streamoff>(offset));
        out << bytes;
        return static_cast<bool>(out);
    }

  private:
    std::filesystem::path Native(const std::string& name) const {
        return std::filesystem::u8path(Path(name));
    }
    static void Protect(const std::filesystem::path& path, bool on) {
        using std::filesystem::perms;
        std::error_code ignored;
        std::filesystem::permissions(
            path, perms::owner_write | perms::group_write | perms::others_write,
            on ? std::filesystem::perm_options::remove : std::filesystem::perm_options::add,
            ignored);
    }

    std::string dir_;
};
