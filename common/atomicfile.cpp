#include "common/atomicfile.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace orrindale {

namespace {

constexpr char kTempSuffix[] = ".tmp-XXXXXX";
constexpr std::size_t kTempRandomChars = 6;
// As the system gives up on a path: beyond this many links it is a loop.
constexpr int kMaxLinks = 40;

// A failure with errno set to error, which the caller reads as the reason.
bool Fail(int error) {
    errno = error != 0 ? error : EIO;
    return false;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) return Fail(ENOSPC); // a write that takes nothing makes no progress
        if (n < 0) return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// What the new file takes over from the one it replaces; a first file gets rw-r--r-- and the
// saver's owner.
struct Inheritance {
    bool exists = false;
    mode_t mode = 0644;
    uid_t owner = 0;
    gid_t group = 0;
};

// False when the target may not be replaced: it is not a regular file, or it could not be
// opened for writing in place (which is the permission a save by renaming would bypass).
bool MayReplace(const std::string& target, Inheritance& old) {
    struct stat st {};
    if (::lstat(target.c_str(), &st) != 0) return errno == ENOENT;
    if (!S_ISREG(st.st_mode)) return Fail(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    const int fd = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    old = {true, static_cast<mode_t>(st.st_mode & 07777), st.st_uid, st.st_gid};
    return true;
}

// Owner first: a change of owner by anyone but root clears the set-id bits that the mode then
// puts back. Not every owner may be given away; the group alone often may.
bool Inherit(int fd, const Inheritance& old) {
    if (old.exists && ::fchown(fd, old.owner, old.group) != 0) {
        // Keeping the group is only an attempt: its failure leaves the saver's group.
        [[maybe_unused]] const int groupKept = ::fchown(fd, static_cast<uid_t>(-1), old.group);
    }
    return ::fchmod(fd, old.mode) == 0;
}

// The rename is only durable once the folder's entry is on the disk; a failure here is not
// reported because the new file is already in place.
void SyncFolder(const std::string& path) {
    const int dir = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return;
    ::fsync(dir);
    ::close(dir);
}

bool IsLeftoverOf(std::string_view entry, std::string_view name) {
    const std::string_view stem(kTempSuffix, sizeof kTempSuffix - 1 - kTempRandomChars);
    return entry.size() == name.size() + stem.size() + kTempRandomChars &&
           entry.substr(0, name.size()) == name && entry.substr(name.size(), stem.size()) == stem;
}

} // namespace

std::string FollowLinks(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        std::vector<char> target(PATH_MAX + 1);
        const ssize_t n = ::readlink(current.c_str(), target.data(), PATH_MAX);
        if (n <= 0) return {};
        std::string next(target.data(), static_cast<size_t>(n));
        if (next[0] != '/') next = FolderOf(current) + "/" + next;
        current = std::move(next);
    }
    return {};
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
    if (path.empty()) return Fail(EINVAL);
    const std::string target = FollowLinks(path);
    Inheritance old;
    if (target.empty()) return Fail(ELOOP);
    if (!MayReplace(target, old)) return false;
    // Before the write: the space that killed saves of this file hold may be what it needs.
    RemoveSaveLeftovers(FolderOf(target), NameOf(target));
    std::vector<char> temp(target.begin(), target.end());
    temp.insert(temp.end(), kTempSuffix, kTempSuffix + sizeof kTempSuffix - 1);
    temp.push_back('\0');
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = Inherit(fd, old) && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temp.data(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temp.data());
        return Fail(error);
    }
    SyncFolder(target);
    return true;
}

int RemoveSaveLeftovers(const std::string& folder, std::string_view name,
                        std::chrono::seconds minAge) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    const std::time_t before = std::time(nullptr) - static_cast<std::time_t>(minAge.count());
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsLeftoverOf(entry->d_name, name)) continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(st.st_mode) || st.st_mtime > before) continue;
        if (::unlinkat(::dirfd(dir), entry->d_name, 0) == 0) ++removed;
    }
    ::closedir(dir);
    return removed;
}

} // namespace orrindale
