// libFuzzer's i386 runtime lists corpus folders with the 32-bit readdir,
// which fails with EOVERFLOW on file systems whose directory offsets are
// 64-bit hashes (ext4): every corpus folder would read as empty. The fuzz
// targets carry this readdir, over readdir64, instead.
#ifndef _LARGEFILE64_SOURCE
#define _LARGEFILE64_SOURCE 1
#endif
#include <dirent.h>

#include <cstring>

extern "C" struct dirent* readdir(DIR* dir) {
    static struct dirent entry;
    struct dirent64* found = readdir64(dir);
    if (found == nullptr) return nullptr;
    entry.d_ino = static_cast<decltype(entry.d_ino)>(found->d_ino);
    entry.d_off = static_cast<decltype(entry.d_off)>(found->d_off);
    entry.d_reclen = sizeof entry;
    entry.d_type = found->d_type;
    std::strncpy(entry.d_name, found->d_name, sizeof entry.d_name - 1);
    entry.d_name[sizeof entry.d_name - 1] = '\0';
    return &entry;
}
