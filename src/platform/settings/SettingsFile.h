#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The stand-in for one registry key: a text file in the .reg export format,
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\Bellwick\Octavane]
//   "FogEnable"=dword:00000000
//
// Only REG_DWORD values of the one named key are read; every other section, and every line
// that is not a well-formed dword value, is skipped, so a damaged file costs only the values
// it damages. Values are 32-bit and kept as written (no range is implied).
//
// The file belongs to its user as much as to us: it may carry comments, values and sections of
// others, and come from the Windows registry editor (UTF-16 with a byte order mark, CRLF lines).
// Writing it back changes only the lines of the values set, and keeps the encoding and line
// ending it came in.

// The values of one key in the order they were first set. Names compare without regard to case,
// as registry value names do.
class TRegValues {
  public:
    struct TItem {
        std::string Name;
        uint32_t Value;
    };
    void Set(std::string_view name, uint32_t value);
    // Null when there is no value of that name.
    const uint32_t* Find(std::string_view name) const;
    size_t Size() const { return Items.size(); }
    std::vector<TItem>::const_iterator begin() const { return Items.begin(); }
    std::vector<TItem>::const_iterator end() const { return Items.end(); }

  private:
    std::vector<TItem> Items;
};

// How a file's text is stored. Files without a byte order mark are read as UTF-8 (any bytes
// pass through unchanged); UTF-16 needs its mark.
enum class TRegEncoding { Utf8, Utf8Bom, Utf16Le, Utf16Be };

// A .reg file as it was read: each line with its bytes exactly as they stood.
class TRegDocument {
  public:
    // The document of a file's bytes (empty for a new file); never fails.
    static TRegDocument FromBytes(std::string_view bytes);

    // The dword values of section `key`, from every section of that name; later lines win.
    TRegValues Values(std::string_view key) const;
    // Sets `values` in section `key`. A value that is there is replaced in its own line, even
    // when that line's value cannot be read (a line that already holds the value stays as it
    // is); should its name stand in more than one line of the section, the later ones go, so
    // each name is left once. A value that is not there is added after the last line of the
    // first such section; a missing section is added at the end. Nothing else changes.
    void Set(std::string_view key, const TRegValues& values);
    // The bytes to store: unchanged lines as they were read, new ones in the document's
    // encoding and line ending.
    std::string ToBytes() const;

    // Whether the text opens as a registry export does: its first line "Windows Registry Editor
    // Version 5.00", or "REGEDIT4", after the byte order mark if there is one.
    bool IsExport() const;
    // No text at all (a byte order mark alone counts as none).
    bool IsEmpty() const;

    TRegEncoding Encoding() const { return Encoding_; }
    bool Crlf() const { return Crlf_; }

  private:
    struct TLine {
        std::string Raw;  // as stored, with its line ending (the last line may have none)
        std::string Text; // as UTF-8, without the line ending
    };
    TLine MakeLine(std::string_view text) const;
    void Terminate(TLine& line) const;
    void Insert(size_t at, std::string_view text);

    TRegEncoding Encoding_ = TRegEncoding::Utf8;
    bool Crlf_ = false;
    std::string Bom;
    std::vector<TLine> Lines;
    std::string Tail; // half a UTF-16 code unit at the very end
};

// The settings file: $XDG_CONFIG_HOME/Bellwick/Octavane/settings.reg, or
// $HOME/.config/Bellwick/Octavane/settings.reg when XDG_CONFIG_HOME is unset, empty or not an
// absolute path (the XDG base directory rules ignore relative ones). Empty when neither
// variable gives a usable directory.
std::string SettingsFilePath();

// Collects the dword values of section `key` from the text of a .reg file. Later lines win.
TRegValues ParseRegText(std::string_view text, std::string_view key);

// A new file's text with section `key` holding `values` in their order.
std::string FormatRegText(std::string_view key, const TRegValues& values);

enum class TRegRead {
    Read,      // the document holds the file
    Missing,   // there is no file (the document is empty)
    Unreadable // something is there but cannot be read whole, or is not ours; `error` says why
};

// Reads `path`, following symbolic links. A file that exists but cannot be read (no
// permission, not a regular file, far larger than a settings file) is Unreadable, and so is one
// that is not a registry export (an empty one is taken as new): whoever saves must then leave it
// alone. Never blocks on a FIFO or a device.
TRegRead ReadRegDocument(const std::string& path, TRegDocument& document, std::string& error);
// The document of a whole file's bytes, for the readers above: Unreadable, with `error`, when
// they are not a registry export (no header line after an optional byte order mark) and not empty.
TRegRead AdoptRegBytes(std::string_view bytes, TRegDocument& document, std::string& error);

// Stores `bytes` at `path`: they go to a temporary file in the same directory, are flushed to
// disk, then renamed over the old file, so a crash or a full disk leaves either the old file or
// the new one, never half of one. A symbolic link is written through: its final target is
// replaced and the link stays. The old file's permissions are kept; one we may not write is not
// replaced. Missing directories are created. On failure returns false and puts the reason in
// `error`.
bool WriteRegFile(const std::string& path, std::string_view bytes, std::string& error);
