// The library's few files, read and written with plain system calls (no
// allocation): only regular files are read, and a file is only ever replaced
// whole, durably, and never through a link planted at a temporary name.
#pragma once

#include <sys/types.h>

#include <cstddef>

namespace kzq {

// Which file a name stood for when it was looked at.
struct FileId {
    dev_t device = 0;
    ino_t inode = 0;
};

enum class Opened {
    kFile,        // open for reading
    kAbsent,      // missing, or not a regular file (a FIFO, device or folder)
    kUnreadable,  // there, or maybe there, but it could not be looked at or opened
};

// Opens `name` for reading when it is a regular file, following links and
// never waiting on a FIFO or device. With kFile, `fd` is the open file.
Opened OpenRegularFile(const char* name, int& fd, FileId& id);
// Reads exactly `size` bytes at `offset`; false on an error or a short read.
bool ReadAt(int fd, void* buffer, std::size_t size, off_t offset);
// The size of an open file, -1 when it cannot be told.
off_t FileSize(int fd);
void CloseFile(int fd);

// Renames the file `name` stands for to the first free one of "<file>.bad",
// "<file>.bad1" ... "<file>.bad999" in its own folder, never replacing a
// file, and only while it still is the file `id`. A link is followed and
// stays: it is its target that is kept aside. False when it stays in place.
bool KeepAside(const char* name, const FileId& id);

// What a killed save of the records leaves under a temporary name: an empty
// file, or one of exactly `size` bytes that begins with the `headSize` bytes
// of `head`.
struct SaveLeftover {
    const void* head;
    std::size_t headSize;
    off_t size;
};

// Removes the temporary files a save of `name` (or of the file it links to)
// left behind, beside that file, that were last changed more than
// `minAgeSeconds` ago: regular files named "<file>.tmp" and six letters or
// digits that hold what `leftover` describes, nothing else (another
// program's file of that pattern, beside a linked file, stays).
void RemoveStaleTemporaries(const char* name, long minAgeSeconds, const SaveLeftover& leftover);

// True when `name` is missing, or is (or links to) a regular file that this
// process may write. A file without any write permission bit counts as
// read-only for every user, the superuser included.
bool MayReplace(const char* name);
// Replaces `name`, or the file a link named `name` points to, by `size` bytes:
// a new temporary file in the same folder, written whole and flushed, takes
// the permission bits of the file it replaces and is renamed over it; the
// folder is flushed after. On failure the old file is as it was and no
// temporary file is left.
bool ReplaceFile(const char* name, const void* data, std::size_t size);

}  // namespace kzq
