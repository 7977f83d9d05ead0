#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/GameKeeper.h"
#include "platform/StoredFile.h"
#include "platform/settings/SettingsFile.h"

// The browser keeps the game in play as a small text file beside the settings file, in the
// folder the page keeps in IndexedDB (web/storage.js); each change is handed on to IndexedDB at
// once, as the settings' saves are.

namespace {

// A kept game is a few hundred bytes; anything far larger is not one.
constexpr std::streamsize kLongestKeptGameBytes = 16 * 1024;
constexpr const char* kKeptGameName = "game.txt";

class TBrowserGameKeeper final : public TGameKeeper {
  public:
    explicit TBrowserGameKeeper(std::string path) : Path(std::move(path)) {}

    // Written in place: the file lives in memory and reaches IndexedDB whole, after the write.
    // (No temporary file renamed over it: this emscripten's file system keeps a file renamed
    // over in its name table, and it comes back once the new one is removed.)
    void Keep(const std::string& text) override {
        std::error_code ignored; // a folder that cannot be made fails the write below
        std::filesystem::create_directories(std::filesystem::path(Path).parent_path(), ignored);
        std::ofstream out(Path, std::ios::binary | std::ios::trunc);
        out << text;
        if (out.flush()) {
            out.close();
            FileStoredForGood(Path);
        }
    }

    bool Kept(std::string& text) override {
        std::ifstream in(Path, std::ios::binary);
        if (!in) {
            return false;
        }
        std::string bytes(kLongestKeptGameBytes + 1, '\0');
        in.read(bytes.data(), kLongestKeptGameBytes + 1);
        const std::streamsize read = in.gcount();
        if (read > kLongestKeptGameBytes) {
            return false;
        }
        bytes.resize(static_cast<size_t>(read));
        text = std::move(bytes);
        return true;
    }

    void Forget() override {
        if (std::remove(Path.c_str()) == 0) {
            FileStoredForGood(Path);
        }
    }

  private:
    std::string Path;
};

} // namespace

std::unique_ptr<TGameKeeper> OpenPlatformGameKeeper() {
    const std::string settings = SettingsFilePath();
    const size_t slash = settings.rfind('/');
    if (slash == std::string::npos) {
        return nullptr;
    }
    return std::make_unique<TBrowserGameKeeper>(settings.substr(0, slash + 1) + kKeptGameName);
}
