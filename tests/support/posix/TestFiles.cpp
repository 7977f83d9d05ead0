#include "TestFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::filesystem::path MakeTempFolder(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        return {};
    }
    return pattern;
}

TNotRegularFiles::TNotRegularFiles(const std::filesystem::path& folder) {
    Pipe = (folder / "fifo").string();
    ::mkfifo(Pipe.c_str(), 0600);
    Paths = {Pipe, folder.string(), "/dev/zero"};
}

TNotRegularFiles::~TNotRegularFiles() = default;

void TNotRegularFiles::Unblock() {
    ::close(::open(Pipe.c_str(), O_WRONLY | O_NONBLOCK));
}
