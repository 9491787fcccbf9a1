#include "table/DateiErsetzen.h"

#include <cerrno>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

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

// Creates a file of a name nobody else uses in folder; never opens or follows what exists.
int temporaryCreate(const fs::path& folder, const std::string& name, fs::path& temporary)
{
    static std::mt19937_64 random{std::random_device{}() ^ static_cast<std::uint64_t>(::getpid())};
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::ostringstream unique;
        unique << '.' << name << '.' << std::hex << random() << ".tmp~";
        temporary = folder / unique.str();
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0)
            return fd;
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
    fs::path temporary;
    const int fd = temporaryCreate(folder, target.filename().string(), temporary);
    if (fd < 0)
        return -fd;
    int result = writeAll(fd, content.view());
    if (result == 0 && exists) {
        // A mode or owner we cannot copy is no reason to fail.
        (void)!::fchown(fd, old.st_uid, old.st_gid);
        ::fchmod(fd, old.st_mode & 07777);
    }
    if (result == 0 && ::fsync(fd) != 0)
        result = errno;
    if (::close(fd) != 0 && result == 0)
        result = errno;
    if (result == 0 && ::rename(temporary.c_str(), target.c_str()) != 0)
        result = errno;
    if (result != 0) {
        ::unlink(temporary.c_str());
        return result;
    }
    folderFlush(folder);
    return ErsetzenOk;
}
