#include "platform/settings/SettingsFile.h"

// The settings file on Windows (the tests' store there): wide-character paths, the new file
// flushed before it replaces the old one with MoveFileExW, since rename() does not replace.
// Windows' symbolic links are not followed; a read-only file is never replaced.

#include <windows.h>

#include <filesystem>

#include "platform/win/WideText.h"

namespace {

// A settings file is a few lines; anything far larger is not ours.
constexpr LONGLONG kMaxFileBytes = 1 << 20;

std::string LastErrorText(const std::string& what) {
    const DWORD code = GetLastError();
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = text ? Utf8FromWide(text) : "error " + std::to_string(code);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
        message.pop_back();
    }
    return what.empty() ? message : what + ": " + message;
}

// Owns a file handle.
class THandle {
  public:
    explicit THandle(HANDLE handle) : Handle(handle) {}
    ~THandle() { Close(); }
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;
    bool Valid() const { return Handle != INVALID_HANDLE_VALUE; }
    bool Close() {
        const bool closed = !Valid() || CloseHandle(Handle);
        Handle = INVALID_HANDLE_VALUE;
        return closed;
    }
    HANDLE Handle;
};

} // namespace

TRegRead ReadRegDocument(const std::string& path, TRegDocument& document, std::string& error) {
    const std::wstring wide = WideFromUtf8(path);
    // A folder in the file's place cannot be opened without FILE_FLAG_BACKUP_SEMANTICS.
    THandle file(CreateFileW(wide.c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) {
            return TRegRead::Missing;
        }
        error = LastErrorText("");
        return TRegRead::Unreadable;
    }
    LARGE_INTEGER size{};
    if (GetFileType(file.Handle) != FILE_TYPE_DISK) {
        error = "not a regular file";
        return TRegRead::Unreadable;
    }
    if (!GetFileSizeEx(file.Handle, &size)) {
        error = LastErrorText("");
        return TRegRead::Unreadable;
    }
    if (size.QuadPart > kMaxFileBytes) {
        error = "far larger than a settings file";
        return TRegRead::Unreadable;
    }
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!bytes.empty() &&
        !ReadFile(file.Handle, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) {
        error = LastErrorText("");
        return TRegRead::Unreadable;
    }
    bytes.resize(got);
    return AdoptRegBytes(bytes, document, error);
}

bool WriteRegFile(const std::string& path, std::string_view bytes, std::string& error) {
    const std::wstring target = WideFromUtf8(path);
    const std::filesystem::path file(target);
    std::error_code ec;
    if (file.has_parent_path()) {
        std::filesystem::create_directories(file.parent_path(), ec);
        if (ec) {
            error = path + ": " + ec.message();
            return false;
        }
    }
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        error = path + ": the file is read-only"; // it keeps what it holds
        return false;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        error = path + ": a folder";
        return false;
    }
    std::wstring temp;
    THandle out(INVALID_HANDLE_VALUE);
    for (unsigned attempt = 0; attempt < 100 && !out.Valid(); ++attempt) {
        temp = target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(attempt) + L".tmp";
        out.Handle = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (!out.Valid() && GetLastError() != ERROR_FILE_EXISTS) {
            break;
        }
    }
    if (!out.Valid()) {
        error = LastErrorText(Utf8FromWide(temp));
        return false;
    }
    DWORD written = 0;
    const bool wrote =
        bytes.empty() ||
        (WriteFile(out.Handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size());
    const bool flushed = wrote && FlushFileBuffers(out.Handle);
    if (!flushed || !out.Close()) {
        error = LastErrorText(Utf8FromWide(temp));
        out.Close();
        DeleteFileW(temp.c_str());
        return false;
    }
    if (!MoveFileExW(temp.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = LastErrorText(path);
        DeleteFileW(temp.c_str());
        return false;
    }
    return true;
}
