#include "platform/RegularFile.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include "platform/win/WideText.h"

TRegularFile OpenRegularFile(const std::string& path, std::FILE*& file, uint64_t& size) {
    const std::wstring wide = WideFromUtf8(path);
    // A folder cannot be opened without FILE_FLAG_BACKUP_SEMANTICS; a device or a pipe is
    // told apart by its type before anything is read.
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return TRegularFile::NotAFile;
    }
    HANDLE handle = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return TRegularFile::CannotOpen;
    }
    LARGE_INTEGER length{};
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileSizeEx(handle, &length)) {
        CloseHandle(handle);
        return TRegularFile::NotAFile;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return TRegularFile::CannotOpen;
    }
    file = _fdopen(fd, "rb");
    if (!file) {
        _close(fd);
        return TRegularFile::CannotOpen;
    }
    size = static_cast<uint64_t>(length.QuadPart);
    return TRegularFile::Opened;
}

bool SeekFile(std::FILE* file, uint64_t offset) {
    return _fseeki64(file, static_cast<long long>(offset), SEEK_SET) == 0;
}
