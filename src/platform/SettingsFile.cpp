#include "platform/SettingsFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view kRegHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kDwordPrefix = "dword:";

std::string_view Trim(std::string_view s) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && isSpace(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isSpace(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// "Name"=dword:0000002a -> ("Name", 42). Names with quotes or backslashes are not ours.
bool ParseDwordLine(std::string_view line, std::string& name, uint32_t& value) {
    if (line.size() < 2 || line.front() != '"') {
        return false;
    }
    const size_t close = line.find('"', 1);
    if (close == std::string_view::npos || close == 1) {
        return false;
    }
    const std::string_view rawName = line.substr(1, close - 1);
    if (rawName.find('\\') != std::string_view::npos) {
        return false;
    }
    std::string_view rest = Trim(line.substr(close + 1));
    if (rest.empty() || rest.front() != '=') {
        return false;
    }
    rest = Trim(rest.substr(1));
    if (rest.size() <= kDwordPrefix.size() ||
        !EqualsNoCase(rest.substr(0, kDwordPrefix.size()), kDwordPrefix)) {
        return false;
    }
    const std::string_view digits = rest.substr(kDwordPrefix.size());
    if (digits.empty() || digits.size() > 8) {
        return false;
    }
    uint32_t result = 0;
    for (const char c : digits) {
        uint32_t digit = 0;
        if (c >= '0' && c <= '9') {
            digit = uint32_t(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = uint32_t(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = uint32_t(c - 'A' + 10);
        } else {
            return false;
        }
        result = result * 16 + digit;
    }
    name.assign(rawName);
    value = result;
    return true;
}

std::string ErrnoText(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

} // namespace

void TRegValues::Set(std::string_view name, uint32_t value) {
    for (TItem& item : Items) {
        if (EqualsNoCase(item.Name, name)) {
            item.Value = value;
            return;
        }
    }
    Items.push_back(TItem{std::string(name), value});
}

const uint32_t* TRegValues::Find(std::string_view name) const {
    for (const TItem& item : Items) {
        if (EqualsNoCase(item.Name, name)) {
            return &item.Value;
        }
    }
    return nullptr;
}

std::string SettingsFilePath() {
    std::string base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg) {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            return {};
        }
        base = std::string(home) + "/.config";
    }
    return base + "/Bellwick/Octavane/settings.reg";
}

TRegValues ParseRegText(std::string_view text, std::string_view key) {
    TRegValues values;
    bool inKey = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            // Registry key names are case-insensitive.
            inKey = line.back() == ']' && EqualsNoCase(line.substr(1, line.size() - 2), key);
            continue;
        }
        std::string name;
        uint32_t value = 0;
        if (inKey && ParseDwordLine(line, name, value)) {
            values.Set(name, value);
        }
    }
    return values;
}

std::string FormatRegText(std::string_view key, const TRegValues& values) {
    std::string text;
    text += kRegHeader;
    text += "\n\n[";
    text += key;
    text += "]\n";
    for (const auto& [name, value] : values) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%08x", value);
        text += '"' + name + "\"=dword:" + hex + '\n';
    }
    return text;
}

bool ReadRegFile(const std::string& path, std::string_view key, TRegValues& values) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    // A settings file is a few lines; anything far larger is not ours.
    constexpr std::streamsize kMaxBytes = 1 << 20;
    std::string text(static_cast<size_t>(kMaxBytes), '\0');
    in.read(text.data(), kMaxBytes);
    text.resize(static_cast<size_t>(in.gcount()));
    for (const auto& [name, value] : ParseRegText(text, key)) {
        values.Set(name, value);
    }
    return true;
}

bool WriteRegFile(const std::string& path, std::string_view key, const TRegValues& values,
                  std::string& error) {
    const std::filesystem::path target(path);
    std::error_code ec;
    if (target.has_parent_path()) {
        std::filesystem::create_directories(target.parent_path(), ec);
        if (ec) {
            error = target.parent_path().string() + ": " + ec.message();
            return false;
        }
    }
    const std::string text = FormatRegText(key, values);
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        error = ErrnoText(temp);
        return false;
    }
    size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            error = ErrnoText(temp);
            ::close(fd);
            ::unlink(temp.c_str());
            return false;
        }
        written += size_t(n);
    }
    ::fchmod(fd, 0644);
    const bool synced = ::fsync(fd) == 0;
    const int syncErrno = errno;
    const bool closed = ::close(fd) == 0;
    if (!synced || !closed) {
        errno = synced ? errno : syncErrno;
        error = ErrnoText(temp);
        ::unlink(temp.c_str());
        return false;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        error = ErrnoText(path);
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}
