#include "platform/StoredFile.h"
#include "platform/settings/SettingsFile.h"

// The settings file on POSIX systems: plain file descriptors, symbolic links followed, the new
// file flushed before it is renamed over the old one.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string ErrnoText(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

// ---- files ----

// A settings file is a few lines; anything far larger is not ours.
constexpr size_t kMaxFileBytes = 1 << 20;
// As the kernel's own limit on links followed in one path.
constexpr int kMaxLinkHops = 40;

// The file a path finally names once its symbolic links are followed; it need not exist.
bool FollowLinks(const std::string& path, std::string& target, std::string& error) {
    std::filesystem::path current(path);
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            target = current.string();
            return true;
        }
        std::error_code ec;
        std::filesystem::path next = std::filesystem::read_symlink(current, ec);
        if (ec) {
            error = current.string() + ": " + ec.message();
            return false;
        }
        current = next.is_relative() ? current.parent_path() / next : next;
    }
    error = path + ": too many levels of symbolic links";
    return false;
}

bool WriteAll(int fd, std::string_view bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        written += size_t(n);
    }
    return true;
}

// Makes a rename in `directory` survive a crash, where the file system allows.
void SyncDirectory(const std::filesystem::path& directory) {
    const int fd = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

TRegRead ReadRegDocument(const std::string& path, TRegDocument& document, std::string& error) {
    // Non-blocking, so that a FIFO put in the file's place cannot hang the start.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return TRegRead::Missing;
        }
        error = std::strerror(errno);
        return TRegRead::Unreadable;
    }
    struct stat info {};
    std::string bytes;
    if (::fstat(fd, &info) != 0) {
        error = std::strerror(errno);
    } else if (!S_ISREG(info.st_mode)) {
        error = "not a regular file";
    } else if (static_cast<uint64_t>(info.st_size) > kMaxFileBytes) {
        error = "far larger than a settings file";
    } else {
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                error = std::strerror(errno);
                break;
            }
            if (n == 0) {
                break;
            }
            bytes.append(buffer, static_cast<size_t>(n));
            if (bytes.size() > kMaxFileBytes) {
                error = "far larger than a settings file";
                break;
            }
        }
    }
    ::close(fd);
    if (!error.empty()) {
        return TRegRead::Unreadable;
    }
    return AdoptRegBytes(bytes, document, error);
}

bool WriteRegFile(const std::string& path, std::string_view bytes, std::string& error) {
    std::string target;
    if (!FollowLinks(path, target, error)) {
        return false;
    }
    const std::filesystem::path file(target);
    std::error_code ec;
    if (file.has_parent_path()) {
        std::filesystem::create_directories(file.parent_path(), ec);
        if (ec) {
            error = file.parent_path().string() + ": " + ec.message();
            return false;
        }
    }
    mode_t mode = 0644;
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        if (::access(target.c_str(), W_OK) != 0) {
            error = ErrnoText(target); // a file made read-only keeps what it holds
            return false;
        }
        mode = old.st_mode & 07777;
    }
    std::string temp = target + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        error = ErrnoText(temp);
        return false;
    }
    if (!WriteAll(fd, bytes)) {
        error = ErrnoText(temp);
        ::close(fd);
        ::unlink(temp.c_str());
        return false;
    }
    ::fchmod(fd, mode);
    const bool synced = ::fsync(fd) == 0;
    const int syncErrno = errno;
    const bool closed = ::close(fd) == 0;
    if (!synced || !closed) {
        errno = synced ? errno : syncErrno;
        error = ErrnoText(temp);
        ::unlink(temp.c_str());
        return false;
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        error = ErrnoText(target);
        ::unlink(temp.c_str());
        return false;
    }
    SyncDirectory(file.parent_path());
    FileStoredForGood(target);
    return true;
}
