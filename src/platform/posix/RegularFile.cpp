#include "platform/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TRegularFile OpenRegularFile(const std::string& path, std::FILE*& file, uint64_t& size) {
    // Opened without waiting: a FIFO would block open() until a writer came.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return TRegularFile::CannotOpen;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return TRegularFile::NotAFile;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file = ::fdopen(fd, "rb");
    if (!file) {
        ::close(fd);
        return TRegularFile::CannotOpen;
    }
    size = static_cast<uint64_t>(info.st_size);
    return TRegularFile::Opened;
}

bool SeekFile(std::FILE* file, uint64_t offset) {
    return ::fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
}
