// The undo record of unflushed file work, and the rewriting of a power cut.
#define _FILE_OFFSET_BITS 64

#include "platform/desk/kernel32/power_cut_record.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <random>
#include <set>

namespace desk {
namespace {

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

int64_t SizeOf(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? static_cast<int64_t>(info.st_size) : -1;
}

std::string ReadRange(const std::string& path, int64_t offset, int64_t length) {
    std::string bytes;
    if (length <= 0) return bytes;
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return bytes;
    bytes.resize(static_cast<size_t>(length));
    ssize_t n = pread(fd, &bytes[0], bytes.size(), offset);
    bytes.resize(n > 0 ? static_cast<size_t>(n) : 0);
    close(fd);
    return bytes;
}

}  // namespace

std::string CanonicalPath(const std::string& path) {
    size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    char resolved[PATH_MAX];
    if (realpath(FolderOf(path).c_str(), resolved) == nullptr) return path;
    std::string folder = resolved;
    return folder == "/" ? "/" + name : folder + "/" + name;
}

// Undoes the writes after the first `keep`, latest first, so that each
// undo finds the file as its write left it.
void PowerCutRecord::Revert(const std::string& path, const std::vector<Undo>& undo, size_t keep) {
    if (undo.size() <= keep) return;
    int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return;
    for (size_t i = undo.size(); i-- > keep;) {
        const Undo& step = undo[i];
        if (!step.before.empty() && pwrite(fd, step.before.data(), step.before.size(), step.offset) < 0) break;
        if (ftruncate(fd, step.sizeBefore) != 0) break;
    }
    close(fd);
}

void PowerCutRecord::PushUndo(const std::string& path, int64_t offset, int64_t end) {
    int64_t size = SizeOf(path);
    if (size < 0) return;
    int64_t stop = std::min(end, size);
    writes_[path].push_back(Undo{offset, ReadRange(path, offset, stop - offset), size});
}

void PowerCutRecord::WillWrite(const std::string& path, int64_t offset, uint64_t length) {
    PushUndo(path, offset, offset + static_cast<int64_t>(length));
}

void PowerCutRecord::WillTruncate(const std::string& path, int64_t size) {
    int64_t now = SizeOf(path);
    PushUndo(path, std::min(size, now), now);
}

void PowerCutRecord::WillDelete(const std::string& path) {
    int64_t size = SizeOf(path);
    if (size < 0) return;
    NameChange change{false, path, FolderOf(path), ReadRange(path, 0, size), {}};
    auto it = writes_.find(path);
    if (it != writes_.end()) {
        change.undo = std::move(it->second);
        writes_.erase(it);
    }
    names_.push_back(std::move(change));
}

void PowerCutRecord::Created(const std::string& path) {
    names_.push_back(NameChange{true, path, FolderOf(path), std::string(), {}});
}

void PowerCutRecord::Flushed(const std::string& path) { writes_.erase(path); }

void PowerCutRecord::FolderFlushed(const std::string& folder) {
    names_.erase(std::remove_if(names_.begin(), names_.end(),
                                [&](const NameChange& change) { return change.folder == folder; }),
                 names_.end());
}

size_t PowerCutRecord::UnflushedWrites(const std::string& path) const {
    auto it = writes_.find(path);
    return it == writes_.end() ? 0 : it->second.size();
}

void PowerCutRecord::Leave(CutOutcome outcome, uint32_t seed) {
    std::mt19937 draw(seed);
    bool someNames = outcome == CutOutcome::kKeepSomeNames || outcome == CutOutcome::kKeepSome;
    bool someWrites = outcome == CutOutcome::kKeepSomeWrites || outcome == CutOutcome::kKeepSome;
    // How many of a file's unflushed writes survive.
    auto kept = [&](size_t count) -> size_t {
        if (outcome == CutOutcome::kLoseAll) return 0;
        if (!someWrites) return count;
        return std::uniform_int_distribution<size_t>(0, count)(draw);
    };
    auto revert = [&](const std::string& path, const std::vector<Undo>& undo) {
        Revert(path, undo, kept(undo.size()));
    };

    std::vector<bool> keepName(names_.size());
    for (size_t i = 0; i < names_.size(); ++i) {
        keepName[i] = outcome != CutOutcome::kLoseAll &&
                      (!someNames || std::uniform_int_distribution<int>(0, 1)(draw) == 1);
    }
    // A name ends as the last of its kept changes left it; with none kept,
    // as it was before the first. Changes to one name alternate between
    // creation and removal, so the one after a kept creation, if any, is the
    // removal that holds what the created file came to contain.
    std::set<std::string> named;
    for (const NameChange& change : names_) named.insert(change.path);
    for (const std::string& path : named) {
        std::vector<size_t> changes;
        for (size_t i = 0; i < names_.size(); ++i)
            if (names_[i].path == path) changes.push_back(i);
        long last = -1;
        for (size_t k = 0; k < changes.size(); ++k)
            if (keepName[changes[k]]) last = static_cast<long>(k);
        const NameChange* holder = nullptr;  // the removal whose content comes back
        bool present;
        if (last < 0) {
            present = !names_[changes[0]].created;
            holder = &names_[changes[0]];
        } else if (!names_[changes[last]].created) {
            present = false;
        } else {
            present = true;
            size_t next = static_cast<size_t>(last) + 1;
            holder = next < changes.size() ? &names_[changes[next]] : nullptr;
        }
        if (!present) {
            unlink(path.c_str());
        } else if (holder != nullptr) {
            int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
            if (fd >= 0) {
                // A short restore shows in the test that reads the file back.
                if (!holder->bytes.empty() && write(fd, holder->bytes.data(), holder->bytes.size()) < 0) {
                }
                close(fd);
            }
            revert(path, holder->undo);
        } else {
            auto it = writes_.find(path);
            if (it != writes_.end()) revert(path, it->second);
        }
        writes_.erase(path);
    }
    for (const auto& pair : writes_) revert(pair.first, pair.second);
    writes_.clear();
    names_.clear();
}

}  // namespace desk
