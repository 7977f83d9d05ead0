#include "platform/SettingsStore.h"

#include <windows.h>

#include "platform/win/WideText.h"

namespace {

constexpr std::string_view kCurrentUser = "HKEY_CURRENT_USER\\";

std::string ErrorText(LSTATUS status) {
    wchar_t* text = nullptr;
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(status), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = text ? Utf8FromWide(text) : "error " + std::to_string(status);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
        message.pop_back();
    }
    return message;
}

// Owns an open key.
class TKey {
  public:
    TKey() = default;
    ~TKey() {
        if (Handle) {
            RegCloseKey(Handle);
        }
    }
    TKey(const TKey&) = delete;
    TKey& operator=(const TKey&) = delete;
    HKEY Handle = nullptr;
};

// The settings in the user's own part of the registry, as Windows programs keep them: one
// REG_DWORD value per setting under the key the settings name.
class TSettingsRegistry final : public TSettingsStore {
  public:
    TRegRead Read(std::string_view key, TRegValues& values, std::string& error) override {
        std::wstring subkey;
        if (!SubkeyOf(key, subkey, error)) {
            return TRegRead::Unreadable;
        }
        TKey open;
        const LSTATUS status =
            RegOpenKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_QUERY_VALUE, &open.Handle);
        if (status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND) {
            return TRegRead::Missing;
        }
        if (status != ERROR_SUCCESS) {
            error = ErrorText(status);
            return TRegRead::Unreadable;
        }
        // Registry value names are at most 16383 characters.
        std::wstring name(16384, L'\0');
        for (DWORD index = 0;; ++index) {
            DWORD nameSize = static_cast<DWORD>(name.size());
            DWORD type = 0;
            DWORD data = 0;
            DWORD dataSize = sizeof data;
            const LSTATUS next = RegEnumValueW(open.Handle, index, name.data(), &nameSize, nullptr,
                                               &type, reinterpret_cast<BYTE*>(&data), &dataSize);
            if (next == ERROR_NO_MORE_ITEMS) {
                break;
            }
            // A value of another type (or a longer one, ERROR_MORE_DATA) is not a setting.
            if (next == ERROR_SUCCESS && type == REG_DWORD && dataSize == sizeof data) {
                values.Set(Utf8FromWide(std::wstring_view(name.data(), nameSize)), data);
            } else if (next != ERROR_SUCCESS && next != ERROR_MORE_DATA) {
                error = ErrorText(next);
                return TRegRead::Unreadable;
            }
        }
        return TRegRead::Read;
    }

    bool Write(std::string_view key, const TRegValues& values, std::string& error) override {
        std::wstring subkey;
        if (!SubkeyOf(key, subkey, error)) {
            return false;
        }
        TKey open;
        LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0,
                                         KEY_SET_VALUE, nullptr, &open.Handle, nullptr);
        for (const auto& [name, value] : values) {
            if (status != ERROR_SUCCESS) {
                break;
            }
            const DWORD data = value;
            status = RegSetValueExW(open.Handle, WideFromUtf8(name).c_str(), 0, REG_DWORD,
                                    reinterpret_cast<const BYTE*>(&data), sizeof data);
        }
        if (status != ERROR_SUCCESS) {
            error = ErrorText(status);
            return false;
        }
        return true;
    }

    std::string Where() const override { return "the registry"; }

  private:
    // "HKEY_CURRENT_USER\Software\..." -> L"Software\..."; the settings live under the current
    // user only.
    static bool SubkeyOf(std::string_view key, std::wstring& subkey, std::string& error) {
        if (key.size() <= kCurrentUser.size() ||
            CompareStringOrdinal(WideFromUtf8(key.substr(0, kCurrentUser.size())).c_str(), -1,
                                 WideFromUtf8(kCurrentUser).c_str(), -1, TRUE) != CSTR_EQUAL) {
            error = "not a key of HKEY_CURRENT_USER: " + std::string(key);
            return false;
        }
        subkey = WideFromUtf8(key.substr(kCurrentUser.size()));
        return true;
    }
};

} // namespace

std::unique_ptr<TSettingsStore> OpenPlatformSettingsStore() {
    return std::make_unique<TSettingsRegistry>();
}
