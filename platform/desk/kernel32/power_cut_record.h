// What a file system may still lose, kept so that a power cut can be acted
// out. A write reaches the disk for certain only once its file is flushed;
// a creation or removal only once its folder is flushed. Until then the
// record holds what it takes to undo each of them: the bytes a write or a
// truncation replaced, and the whole content of a removed file. Leave()
// rewrites the files into one state a power cut could leave behind.
//
// Files are known by their canonical path (the real path of their folder
// and their name), so that the program's relative names and SQLite's full
// paths meet on the same record.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace desk {

enum class CutOutcome {
    kLoseAll,         // nothing unflushed reaches the disk
    kKeepAll,         // everything does: a plain crash
    kKeepSomeWrites,  // each file keeps its first k unflushed writes (k seeded); names all kept
    kKeepSomeNames,   // a seeded subset of the unflushed creations and removals; writes all kept
    kKeepSome,        // both of the above at once
};

// The folder and name of a path, with the folder resolved; the path itself
// when its folder cannot be resolved.
std::string CanonicalPath(const std::string& path);

class PowerCutRecord {
public:
    // Each Will* is called just before the change it names, while the bytes
    // it replaces can still be read.
    void WillWrite(const std::string& path, int64_t offset, uint64_t length);
    void WillTruncate(const std::string& path, int64_t size);
    void WillDelete(const std::string& path);
    void Created(const std::string& path);
    void Flushed(const std::string& path);
    void FolderFlushed(const std::string& folder);

    // Rewrites the recorded files as the outcome leaves them.
    void Leave(CutOutcome outcome, uint32_t seed);

    size_t UnflushedWrites(const std::string& path) const;
    size_t UnflushedNames() const { return names_.size(); }

private:
    // Undoes one write or truncation: the bytes at `offset` before it, and
    // the file's size before it.
    struct Undo {
        int64_t offset;
        std::string before;
        int64_t sizeBefore;
    };
    // A creation, or a removal with what the file held then and the writes
    // to it that were not yet flushed.
    struct NameChange {
        bool created;
        std::string path;
        std::string folder;
        std::string bytes;
        std::vector<Undo> undo;
    };

    static void Revert(const std::string& path, const std::vector<Undo>& undo, size_t keep);
    void PushUndo(const std::string& path, int64_t offset, int64_t end);

    std::map<std::string, std::vector<Undo>> writes_;  // live files, since their last flush
    std::vector<NameChange> names_;                    // since their folder's last flush
};

}  // namespace desk
