#include "table/DateiErsetzen.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <random>
#include <sstream>
#include <string>
#include <string_view>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "table/Beiname.h"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view temporaryEnd = ".tmp~";
// A temporary file that is still empty may be a save that has not yet locked it; only one older than
// this is surely left behind by a killed save.
constexpr std::int64_t emptyTemporaryAgeNs = 10'000'000'000;

// The file a chain of symbolic links ends in; a dangling link names the file it would create.
fs::path linkTarget(fs::path path)
{
    std::error_code error;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(path, error)); ++hops) {
        const fs::path link = fs::read_symlink(path, error);
        if (error)
            break;
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
    return path;
}

int writeAll(int fd, std::string_view data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

std::string temporaryName(const std::string& stem, std::uint64_t unique)
{
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(unique));
    return "." + stem + "." + hex + std::string(temporaryEnd);
}

// Whether name is a temporary file of a save of the table with that stem.
bool isTemporaryOf(const std::string& name, const std::string& stem)
{
    const std::string start = "." + stem + ".";
    if (name.size() <= start.size() + temporaryEnd.size() || name.compare(0, start.size(), start) != 0 ||
        name.compare(name.size() - temporaryEnd.size(), temporaryEnd.size(), temporaryEnd) != 0)
        return false;
    const std::string_view unique(name.data() + start.size(), name.size() - start.size() - temporaryEnd.size());
    if (unique.size() > 16)
        return false;
    for (const char c : unique) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

std::int64_t nanoseconds(const struct timespec& time)
{
    return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

// Removes the temporary files that killed saves of this table left behind. A running save holds a
// lock on its temporary file from before the first byte until it is renamed, so a file that can be
// locked, and is not an empty one just created, belongs to no running save.
void staleTemporariesRemove(const fs::path& folder, const std::string& stem)
{
    std::error_code error;
    fs::directory_iterator entries(folder.empty() ? fs::path(".") : folder, error);
    if (error)
        return;
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    for (const fs::directory_entry& entry : entries) {
        const std::string name = entry.path().filename().string();
        if (!isTemporaryOf(name, stem))
            continue;
        const int fd = ::open(entry.path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat info {};
        struct stat named {};
        const bool stale = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                           (info.st_size > 0 || nanoseconds(now) - nanoseconds(info.st_mtim) > emptyTemporaryAgeNs) &&
                           ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(entry.path().c_str(), &named) == 0 &&
                           named.st_ino == info.st_ino && named.st_dev == info.st_dev;
        if (stale)
            ::unlink(entry.path().c_str());
        ::close(fd);
    }
}

// Creates a file of a name nobody else uses in folder, locked for this save; never opens or follows
// what exists. Returns the descriptor or -errno.
int temporaryCreate(const fs::path& folder, const std::string& stem, fs::path& temporary)
{
    static std::mt19937_64 random{std::random_device{}() ^ static_cast<std::uint64_t>(::getpid())};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder / temporaryName(stem, random());
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::flock(fd, LOCK_EX);
            return fd;
        }
        if (errno != EEXIST)
            return -errno;
    }
    return -EEXIST;
}

void folderFlush(const fs::path& folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd); // some file systems refuse it for folders: the rename itself has happened
        ::close(fd);
    }
}

// For a writable file in a folder that cannot be written, as editors do: the file itself is
// rewritten, flushed and read back. Room for a longer content is claimed first, so that a full disk
// is found before the first byte changes.
int writeInPlace(const fs::path& target, std::string_view data, const struct stat& old)
{
    const int fd = ::open(target.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat info {};
    int result = ::fstat(fd, &info) != 0 ? errno : 0;
    if (result == 0 && (!S_ISREG(info.st_mode) || info.st_ino != old.st_ino || info.st_dev != old.st_dev))
        result = EISDIR;
    const auto size = static_cast<off_t>(data.size());
    if (result == 0 && size > info.st_size) {
        const int claimed = ::posix_fallocate(fd, info.st_size, size - info.st_size);
        if (claimed == ENOSPC || claimed == EDQUOT || claimed == EFBIG || claimed == EIO)
            result = claimed;
    }
    if (result == 0 && ::lseek(fd, 0, SEEK_SET) != 0)
        result = errno;
    if (result == 0)
        result = writeAll(fd, data);
    if (result == 0 && ::ftruncate(fd, size) != 0)
        result = errno;
    if (result == 0 && ::fsync(fd) != 0)
        result = errno;
    if (result == 0) {
        std::unique_ptr<char[]> back(new (std::nothrow) char[data.size() + 1]);
        std::size_t done = 0;
        while (back && done <= data.size()) {
            const ssize_t n = ::pread(fd, back.get() + done, data.size() + 1 - done, static_cast<off_t>(done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        if (!back || done != data.size() || std::memcmp(back.get(), data.data(), data.size()) != 0)
            result = EIO;
    }
    if (::close(fd) != 0 && result == 0)
        result = errno;
    return result;
}

} // namespace

int writeFileReplacing(const std::string& path, const std::function<bool(std::ostream&)>& write)
{
    const fs::path target = linkTarget(fs::path(path));
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists) {
        if (!S_ISREG(old.st_mode))
            return EISDIR;
        // Renaming would replace even a file the user may not write: ask as a plain write would.
        if (::access(target.c_str(), W_OK) != 0)
            return errno;
    } else if (errno != ENOENT) {
        return errno;
    }

    // The whole content first, so that a refused or failed serialisation never touches the disk.
    std::ostringstream content(std::ios::binary);
    if (!write(content) || !content)
        return ErsetzenInhaltAbgelehnt;

    const fs::path folder = target.parent_path();
    const std::string stem = beinamenStamm(target.filename().string());
    staleTemporariesRemove(folder, stem);
    fs::path temporary;
    const int fd = temporaryCreate(folder, stem, temporary);
    if (fd < 0) {
        if (exists && (fd == -EACCES || fd == -EPERM || fd == -EROFS))
            return writeInPlace(target, content.view(), old);
        return -fd;
    }
    int result = writeAll(fd, content.view());
    if (result == 0 && exists) {
        // A mode or owner we cannot copy is no reason to fail.
        (void)!::fchown(fd, old.st_uid, old.st_gid);
        ::fchmod(fd, old.st_mode & 07777);
    }
    if (result == 0 && ::fsync(fd) != 0)
        result = errno;
    if (result == 0 && ::rename(temporary.c_str(), target.c_str()) != 0)
        result = errno;
    if (result != 0)
        ::unlink(temporary.c_str());
    // Closed only now: the lock keeps other saves from taking the file for a stale one.
    if (::close(fd) != 0 && result == 0)
        result = errno;
    if (result != 0)
        return result;
    folderFlush(folder);
    return ErsetzenOk;
}
