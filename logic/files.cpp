#include "files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "wire.h"

namespace kzq {

namespace {

FileId IdOf(const struct stat& st) {
    return FileId{st.st_dev, st.st_ino};
}

// Appends `text` to the NUL-terminated `out` of `size` bytes; false when it
// does not fit (out is then unusable).
bool Append(char* out, std::size_t size, const char* text) {
    std::size_t used = std::strlen(out), add = std::strlen(text);
    if (used + add >= size) return false;
    std::memcpy(out + used, text, add + 1);
    return true;
}

bool Copy(char* out, std::size_t size, const char* text) {
    out[0] = 0;
    return Append(out, size, text);
}

// The file a chain of links starting at `name` ends in (it may not exist):
// relative link texts count from the folder of the link.
bool FollowLinks(const char* name, char (&path)[PATH_MAX]) {
    if (!Copy(path, sizeof path, name)) return false;
    for (int hops = 0; hops < 40; ++hops) {
        char target[PATH_MAX];
        ssize_t n = readlink(path, target, sizeof target - 1);
        if (n < 0) return errno == EINVAL || errno == ENOENT;  // not a link, or nothing there
        target[n] = 0;
        if (target[0] == '/') {
            std::memcpy(path, target, std::size_t(n) + 1);
        } else {
            char* slash = std::strrchr(path, '/');
            if (slash) {
                slash[1] = 0;
            } else {
                path[0] = 0;
            }
            if (!Append(path, sizeof path, target)) return false;
        }
    }
    return false;  // a loop, or a chain longer than the system would follow
}

// Splits `path` into its folder (opened) and its last part.
int OpenFolderOf(char (&path)[PATH_MAX], const char*& base) {
    char* slash = std::strrchr(path, '/');
    if (!slash) {
        base = path;
        return open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    }
    base = slash + 1;
    if (slash == path) return open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    *slash = 0;
    int dir = open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    *slash = '/';
    return dir;
}

// Opens the folder of the file that `name` stands for after its links;
// `path` holds that file's path and `base` points at its last part.
int OpenTargetFolder(const char* name, char (&path)[PATH_MAX], const char*& base) {
    if (!FollowLinks(name, path)) return -1;
    int dir = OpenFolderOf(path, base);
    if (dir >= 0 && *base == 0) {
        close(dir);
        return -1;
    }
    return dir;
}

// The temporary name of a save: "<base>.tmp" and six of these characters.
constexpr char kMark[] = ".tmp";
constexpr int kRandomLetters = 6;
constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

bool IsTemporaryOf(const char* entry, const char* base) {
    const std::size_t n = std::strlen(base), mark = sizeof kMark - 1;
    if (std::strncmp(entry, base, n) != 0 || std::strncmp(entry + n, kMark, mark) != 0)
        return false;
    const char* letters = entry + n + mark;
    if (std::strlen(letters) != kRandomLetters) return false;
    for (const char* c = letters; *c; ++c)
        if (!std::strchr(kChars, *c)) return false;
    return true;
}

// A new file "<base>.tmp" + six random characters in folder `dir`, created
// exclusively: an existing file or link of that name is never opened.
int CreateTemporary(int dir, const char* base, char (&name)[NAME_MAX + 1]) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        std::uint64_t x = std::uint64_t(now.tv_nsec) ^ (std::uint64_t(now.tv_sec) << 30) ^
                          (std::uint64_t(getpid()) << 40) ^
                          (std::uint64_t(attempt + 1) * 0x9E3779B97F4A7C15u);
        x ^= x >> 31, x *= 0xBF58476D1CE4E5B9u, x ^= x >> 27;
        char suffix[sizeof kMark + kRandomLetters] = {};
        std::memcpy(suffix, kMark, sizeof kMark - 1);
        for (int i = sizeof kMark - 1; i < int(sizeof suffix) - 1; ++i, x /= sizeof kChars - 1)
            suffix[i] = kChars[x % (sizeof kChars - 1)];
        if (!Copy(name, sizeof name, base) || !Append(name, sizeof name, suffix)) return -1;
        int fd = openat(dir, name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool WriteAll(int fd, const void* data, std::size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = write(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= std::size_t(n);
    }
    return true;
}

// Writes the new content under a temporary name in `dir` and renames it
// over `base`, which is `old` when `hasOld`.
bool ReplaceIn(int dir, const char* base, bool hasOld, const struct stat& old, const void* data,
               std::size_t size) {
    char tmp[NAME_MAX + 1];
    int fd = CreateTemporary(dir, base, tmp);
    if (fd < 0) return false;
    bool ok = true;
    if (hasOld) {
        // Keep the owner where the process may (the superuser saving another
        // user's file), and always the permission bits.
        if ((old.st_uid != geteuid() || old.st_gid != getegid()) &&
            fchown(fd, old.st_uid, old.st_gid) != 0) {
            // Not allowed to a normal user: the file becomes the saver's own.
        }
        ok = fchmod(fd, old.st_mode & 0777) == 0;
    }
    ok = ok && WriteAll(fd, data, size) && fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    ok = ok && renameat(dir, tmp, dir, base) == 0;
    if (!ok) {
        unlinkat(dir, tmp, 0);
        return false;
    }
    // The rename is only durable once the folder is flushed. The new file is
    // already in place and whole, so a folder that cannot be flushed does not
    // make the save a failure.
    fsync(dir);
    return true;
}

}  // namespace

Opened OpenRegularFile(const char* name, int& fd, FileId& id) {
    // Looked at before opening, so that no device or FIFO is ever opened;
    // looked at again after, in case the name changed in between. Only a
    // name that is not there counts as absent: a file that could not be
    // looked at may be there.
    struct stat st;
    if (stat(name, &st) != 0) return errno == ENOENT ? Opened::kAbsent : Opened::kUnreadable;
    if (!S_ISREG(st.st_mode)) return Opened::kAbsent;
    id = IdOf(st);
    int f = open(name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (f < 0) return errno == ENOENT ? Opened::kAbsent : Opened::kUnreadable;
    if (fstat(f, &st) != 0) {
        close(f);
        return Opened::kUnreadable;
    }
    if (!S_ISREG(st.st_mode)) {
        close(f);
        return Opened::kAbsent;
    }
    id = IdOf(st);
    fd = f;
    return Opened::kFile;
}

bool ReadAt(int fd, void* buffer, std::size_t size, off_t offset) {
    char* p = static_cast<char*>(buffer);
    while (size > 0) {
        ssize_t n = pread(fd, p, size, offset);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= std::size_t(n);
        offset += n;
    }
    return true;
}

off_t FileSize(int fd) {
    struct stat st;
    return fstat(fd, &st) == 0 ? st.st_size : -1;
}

void CloseFile(int fd) {
    close(fd);
}

bool KeepAside(const char* name, const FileId& id) {
    char path[PATH_MAX];
    const char* base = nullptr;
    int dir = OpenTargetFolder(name, path, base);
    if (dir < 0) return false;
    struct stat st;
    bool kept = false;
    if (fstatat(dir, base, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
        st.st_dev == id.device && st.st_ino == id.inode) {
        char aside[NAME_MAX + 1];
        for (int i = 0; i < wire::kKeptNames && !kept; ++i) {
            if (!wire::KeptAsideName(aside, sizeof aside, base, i)) break;
            if (renameat2(dir, base, dir, aside, RENAME_NOREPLACE) == 0) {
                kept = true;
            } else if (errno == EINVAL || errno == ENOSYS) {
                // A file system without renames that refuse to replace: look first.
                if (fstatat(dir, aside, &st, AT_SYMLINK_NOFOLLOW) == 0) continue;
                kept = errno == ENOENT && renameat(dir, base, dir, aside) == 0;
                break;
            } else if (errno != EEXIST) {
                break;
            }
        }
    }
    if (kept) fsync(dir);
    close(dir);
    return kept;
}

namespace {

// True when the file `entry` in `dir` (the regular file `st`) holds what a
// killed save leaves.
bool IsSaveLeftover(int dir, const char* entry, const struct stat& st,
                    const SaveLeftover& leftover) {
    if (st.st_size == 0) return true;
    if (st.st_size != leftover.size) return false;
    int fd = openat(dir, entry, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    char head[64];
    struct stat now;
    bool ours = leftover.headSize <= sizeof head && fstat(fd, &now) == 0 &&
                now.st_ino == st.st_ino && now.st_dev == st.st_dev &&
                ReadAt(fd, head, leftover.headSize, 0) &&
                std::memcmp(head, leftover.head, leftover.headSize) == 0;
    close(fd);
    return ours;
}

}  // namespace

void RemoveStaleTemporaries(const char* name, long minAgeSeconds, const SaveLeftover& leftover) {
    char path[PATH_MAX];
    const char* base = nullptr;
    int dir = OpenTargetFolder(name, path, base);
    if (dir < 0) return;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    alignas(dirent64) char entries[4096];
    for (;;) {
        ssize_t n = getdents64(dir, entries, sizeof entries);
        if (n <= 0) break;
        for (ssize_t at = 0; at < n;) {
            const dirent64* e = reinterpret_cast<const dirent64*>(entries + at);
            at += e->d_reclen;
            struct stat st;
            if (!IsTemporaryOf(e->d_name, base) ||
                fstatat(dir, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
                continue;
            // A younger one may belong to a save in progress, in this
            // process or another.
            if (now.tv_sec - st.st_mtim.tv_sec > minAgeSeconds &&
                IsSaveLeftover(dir, e->d_name, st, leftover))
                unlinkat(dir, e->d_name, 0);
        }
    }
    close(dir);
}

bool MayReplace(const char* name) {
    struct stat st;
    if (stat(name, &st) != 0) return errno == ENOENT;
    if (!S_ISREG(st.st_mode)) return false;
    // The superuser may write any file; a file that nobody may write is
    // still read-only to this program, as its owner meant it to be.
    if ((st.st_mode & 0222) == 0) return false;
    return faccessat(AT_FDCWD, name, W_OK, AT_EACCESS) == 0;
}

bool ReplaceFile(const char* name, const void* data, std::size_t size) {
    if (!MayReplace(name)) return false;
    char path[PATH_MAX];
    const char* base = nullptr;
    int dir = OpenTargetFolder(name, path, base);
    if (dir < 0) return false;
    struct stat old {};
    bool hasOld = fstatat(dir, base, &old, AT_SYMLINK_NOFOLLOW) == 0;
    // Only a regular file is replaced, or nothing (a link's missing target).
    bool usable = hasOld ? S_ISREG(old.st_mode) : errno == ENOENT;
    bool ok = usable && ReplaceIn(dir, base, hasOld, old, data, size);
    close(dir);
    return ok;
}

}  // namespace kzq
