#include "platform/SettingsStore.h"

namespace {

std::string g_testFile; // empty: the platform's own store

// The .reg text file. A save reads the file again first, so that whatever others stored since
// the start stays, and so does every line that is not one of ours; a file that already holds
// every value is not written at all.
class TSettingsFileStore final : public TSettingsStore {
  public:
    explicit TSettingsFileStore(std::string path) : Path(std::move(path)) {}

    TRegRead Read(std::string_view key, TRegValues& values, std::string& error) override {
        TRegDocument document;
        const TRegRead read = ReadRegDocument(Path, document, error);
        if (read == TRegRead::Read) {
            values = document.Values(key);
        }
        return read;
    }

    bool Write(std::string_view key, const TRegValues& values, std::string& error) override {
        TRegDocument document;
        const TRegRead read = ReadRegDocument(Path, document, error);
        if (read == TRegRead::Unreadable) {
            return false;
        }
        const std::string before = document.ToBytes();
        document.Set(key, values);
        const std::string after = document.ToBytes();
        if (read == TRegRead::Read && after == before) {
            return true;
        }
        return WriteRegFile(Path, after, error);
    }

    std::string Where() const override { return "the settings file " + Path; }

  private:
    std::string Path;
};

} // namespace

std::unique_ptr<TSettingsStore> OpenSettingsFile(const std::string& path) {
    return std::make_unique<TSettingsFileStore>(path);
}

std::unique_ptr<TSettingsStore> OpenSettingsStore() {
    return g_testFile.empty() ? OpenPlatformSettingsStore() : OpenSettingsFile(g_testFile);
}

void UseSettingsFileForTests(const std::string& path) {
    g_testFile = path;
}
