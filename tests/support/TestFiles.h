#pragma once

#include <filesystem>
#include <string>
#include <vector>

// What the tests need of the file system on every platform, where POSIX and Windows differ.

// A new, empty folder of its own under the system's temporary folder (mkdtemp's stand-in);
// the caller removes it.
std::filesystem::path MakeTempFolder(const std::string& prefix);

// Things a reader must refuse at once, never waiting on them: a folder, a device, and a pipe
// no writer has opened (a FIFO on POSIX, a named pipe on Windows), the pipe made inside
// `folder`'s reach. Lives until the end of the test.
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
