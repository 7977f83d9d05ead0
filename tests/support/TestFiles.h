#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// A new, empty folder under the system's temporary folder; the caller removes it.
std::filesystem::path MakeTempFolder(const std::string& prefix);

// The file's bytes as they are ("" when it cannot be read).
inline std::string ReadFileBytes(const std::filesystem::path& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

// A folder, a device and a pipe no writer has opened: what a reader must refuse at once.
class TNotRegularFiles {
  public:
    explicit TNotRegularFiles(const std::filesystem::path& folder);
    ~TNotRegularFiles();
    TNotRegularFiles(const TNotRegularFiles&) = delete;
    TNotRegularFiles& operator=(const TNotRegularFiles&) = delete;

    std::vector<std::string> Paths;
    // Lets a reader blocked on the pipe go on, should a faulty one have opened it.
    void Unblock();

  private:
    std::string Pipe;
    [[maybe_unused]] void* Handle = nullptr; // the named pipe's, on Windows
};
