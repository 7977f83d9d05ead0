#include "TestFiles.h"

#include <windows.h>

#include <random>

std::filesystem::path MakeTempFolder(const std::string& prefix) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path folder =
            std::filesystem::temp_directory_path() / (prefix + "-" + std::to_string(random()));
        std::error_code ec;
        if (std::filesystem::create_directory(folder, ec)) {
            return folder;
        }
    }
    return {};
}

TNotRegularFiles::TNotRegularFiles(const std::filesystem::path& folder) {
    Pipe = "\\\\.\\pipe\\octavane-test-" + std::to_string(GetCurrentProcessId());
    Handle = CreateNamedPipeA(Pipe.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1,
                              4096, 4096, 0, nullptr);
    Paths = {Pipe, folder.string(), "NUL"};
}

TNotRegularFiles::~TNotRegularFiles() {
    if (Handle && Handle != INVALID_HANDLE_VALUE) {
        CloseHandle(Handle);
    }
}

void TNotRegularFiles::Unblock() {
    if (Handle && Handle != INVALID_HANDLE_VALUE) {
        DisconnectNamedPipe(Handle);
    }
}
